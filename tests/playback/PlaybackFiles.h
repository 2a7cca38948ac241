#ifndef PLAYBACK_FILES_H
#define PLAYBACK_FILES_H

// What the play-back tests share: their tolerances, and the files and runs
// of the programs they check, each case in a fresh folder of its own.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace playback {

const double kPositionTolerance = 0.01;  // inches
const double kRotationTolerance = 0.05;  // degrees

inline std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
}

// The first frames of an AMC text: everything before the line that holds
// only the number frames + 1.
inline std::string firstFrames(const std::string& amc, int frames) {
  std::istringstream in(amc);
  std::ostringstream out;
  const std::string stop = std::to_string(frames + 1);
  std::string line;
  while (std::getline(in, line)) {
    std::string trimmed = line;
    while (!trimmed.empty() && (trimmed.back() == '\r' || trimmed.back() == ' '))
      trimmed.pop_back();
    if (trimmed == stop) break;
    out << line << "\n";
  }
  return out.str();
}

// s in single quotes for the shell.
inline std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// A fresh, empty folder for one case under playback-work/.
inline std::filesystem::path workFolder(const std::string& name) {
  std::filesystem::path dir = std::filesystem::current_path() / "playback-work" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs command in dir, its output into dir/log.txt; the shell's status.
inline int run(const std::filesystem::path& dir, const std::string& command) {
  const std::string line = "cd " + quoted(dir.string()) + " && " + command + " > log.txt 2>&1";
  return std::system(line.c_str());
}

}  // namespace playback

#endif
