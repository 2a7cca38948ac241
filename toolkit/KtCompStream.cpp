#include "toolkit/KtCompStream.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/KtExcept.h"
#include "toolkit/KtPathCheck.h"

extern char** environ;

int KtCompIFStream::_next_instance = 0;
int KtCompOFStream::_next_instance = 0;

namespace {

const int kPipeNameSize = 81;

struct KtCompTool {
  const char* ext;
  int minLength;
  const char* inputTool;
  const char* outputTool;
  const char* flag;  // null when the output tool takes no flag
  const char* outputFlag;
};

const KtCompTool kTools[] = {
    {"Z", 3, "uncompress", "compress", "-c", nullptr},
    {"gz", 4, "gunzip", "gzip", "-c", "-9"},
    {"jpeg", 6, "djpeg", "cjpeg", "-gsi", "-gsi"},
};

const KtCompTool* toolForExtension(const char* ext) {
  for (const KtCompTool& tool : kTools)
    if (std::strcmp(tool.ext, ext) == 0) return &tool;
  return nullptr;
}

// The directory that holds the pipes: /usr/tmp, else $TMPDIR, else /tmp.
std::string pipeDirectory() {
  if (KtFileIsDirectory("/usr/tmp")) return "/usr/tmp";
  const char* tmp = std::getenv("TMPDIR");
  if (tmp && *tmp && KtFileIsDirectory(tmp)) return tmp;
  return "/tmp";
}

// A buffer of at least 81 bytes holding dir/prefix<instance>.<pid>.
char* makePipeName(const char* prefix, int instance) {
  std::string dir = pipeDirectory();
  int needed = std::snprintf(nullptr, 0, "%s/%s%d.%d", dir.c_str(), prefix, instance,
                             static_cast<int>(getpid())) +
               1;
  int size = needed > kPipeNameSize ? needed : kPipeNameSize;
  char* name = new char[size];
  std::snprintf(name, size, "%s/%s%d.%d", dir.c_str(), prefix, instance,
                static_cast<int>(getpid()));
  return name;
}

// mkfifo only succeeds on a name that does not exist yet, so a pipe or file
// someone else put there is never opened.
bool createPipe(char** name) {
  if (mkfifo(*name, 0600) == 0) return true;
  KtError("%s", std::strerror(errno));
  KtError("Unable to create named pipe \"%s\".", *name);
  delete[] * name;
  *name = nullptr;
  return false;
}

void removePipe(char** name) {
  if (!*name) return;
  unlink(*name);
  delete[] * name;
  *name = nullptr;
}

char* copyName(const char* s) {
  char* copy = new char[std::strlen(s) + 1];
  std::strcpy(copy, s);
  return copy;
}

// A file argument that cannot be taken for an option.
std::string fileArgument(const char* path) {
  if (path[0] == '-') return std::string("./") + path;
  return path;
}

// Starts program with argv; stdin/stdout are opened from the given names by
// the spawn itself (null: inherited). Returns the process id or -1 with errno.
pid_t spawnTool(const std::string& program, const std::vector<std::string>& args,
                const char* inName, const char* outName, int outFlags) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (inName) posix_spawn_file_actions_addopen(&actions, 0, inName, O_RDONLY, 0);
  if (outName) posix_spawn_file_actions_addopen(&actions, 1, outName, outFlags, 0666);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Streams the program has open (another tool's pipe among them) stay out
  // of the tool, so that every tool sees the end of its input in time.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    errno = rc;
    return -1;
  }
  return pid;
}

// True when the tool ended normally with status 0. Reaps the process.
// compress ends with status 2 when its output is no smaller than its input;
// the output is complete all the same.
bool waitTool(pid_t pid, const char* toolName) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  if (!WIFEXITED(status)) return false;
  int code = WEXITSTATUS(status);
  return code == 0 || (code == 2 && std::strcmp(toolName, "compress") == 0);
}

// While a compressor's pipe is open, a dead compressor must fail the write
// (EPIPE) rather than end the program with SIGPIPE.
int theOpenCompressors = 0;
struct sigaction theSavedPipeAction;

void ignoreBrokenPipes() {
  if (theOpenCompressors++ > 0) return;
  struct sigaction ignore;
  std::memset(&ignore, 0, sizeof ignore);
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &theSavedPipeAction);
}

void restoreBrokenPipes() {
  if (--theOpenCompressors == 0) sigaction(SIGPIPE, &theSavedPipeAction, nullptr);
}

bool searchPath(const char* tool, std::string* found) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string value(path);
  std::string::size_type pos = 0;
  while (pos < value.size()) {
    if (value[pos] == ':') {
      ++pos;
      continue;
    }
    std::string::size_type end = value.find(':', pos);
    if (end == std::string::npos) end = value.size();
    std::string candidate = value.substr(pos, end - pos);
    if (candidate.back() != '/') candidate += '/';
    candidate += tool;
    if (KtFileExists(candidate.c_str()) && KtFileCanExecute(candidate.c_str())) {
      *found = candidate;
      return true;
    }
    pos = end;
  }
  return false;
}

// Name resolution for input: path, then path.gz, then path.Z.
std::string resolveInputName(const char* path) {
  if (KtFileExists(path)) return path;
  std::string p(path);
  if (KtFileExists((p + ".gz").c_str())) return p + ".gz";
  if (KtFileExists((p + ".Z").c_str())) return p + ".Z";
  return p;
}

}  // namespace

const char* KtCompressionExtension(const char* path) {
  if (!path) return nullptr;
  size_t length = std::strlen(path);
  for (const KtCompTool& tool : kTools) {
    size_t extLength = std::strlen(tool.ext) + 1;
    if (length >= static_cast<size_t>(tool.minLength) && path[length - extLength] == '.' &&
        std::strcmp(path + length - extLength + 1, tool.ext) == 0)
      return tool.ext;
  }
  return nullptr;
}

bool KtFindOnSearchPath(const char* tool, char* out, int outSize) {
  std::string found;
  if (!searchPath(tool, &found) || static_cast<int>(found.size()) >= outSize) return false;
  std::strcpy(out, found.c_str());
  return true;
}

// ---------------------------------------------------------------- input

KtCompIFStream::KtCompIFStream() : _instance(_next_instance++) {}

KtCompIFStream::~KtCompIFStream() {
  close();
}

void KtCompIFStream::open(const char* path, std::ios::openmode mode, int protection) {
  (void)protection;
  if (!path) path = "";
  std::string name = KtCompressionExtension(path) ? std::string(path) : resolveInputName(path);
  const char* ext = KtCompressionExtension(name.c_str());
  _compressed = ext != nullptr;
  if (ext && KtFileExists(name.c_str())) {
    _openCompressed(name.c_str(), ext, mode);
    return;
  }
  if (!KtPathCheckReadAccess(path)) {
    setstate(std::ios::failbit);
    return;
  }
  std::ifstream::open(name.c_str(), mode | std::ios::in);
}

void KtCompIFStream::_openCompressed(const char* path, const char* ext, std::ios::openmode mode) {
  if (!KtPathCheckReadAccess(path)) {
    setstate(std::ios::failbit);
    return;
  }
  _createNamedPipe();
  if (!_pipeName) {
    setstate(std::ios::failbit);
    return;
  }
  // A read end held open lets the write ends open at once; our own write end
  // lets the stream's read end open at once, even when the tool has already
  // written everything and ended.
  int hold = ::open(_pipeName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  int writer = hold >= 0 ? ::open(_pipeName, O_WRONLY | O_CLOEXEC) : -1;
  if (writer < 0 || !_spawnUncompress(path, ext)) {
    if (hold >= 0) ::close(hold);
    if (writer >= 0) ::close(writer);
    _removeNamedPipe();
    setstate(std::ios::failbit);
    return;
  }
  std::ifstream::open(_pipeName, mode | std::ios::in);
  ::close(hold);
  ::close(writer);
  // Both ends are open: the name is no longer needed.
  _removeNamedPipe();
}

void KtCompIFStream::_createNamedPipe() {
  _pipeName = makePipeName("compifstream", _instance);
  createPipe(&_pipeName);
}

const char* KtCompIFStream::_spawnUncompress(const char* path, const char* ext) {
  const KtCompTool* tool = toolForExtension(ext);
  if (!tool) {
    KtError("Unknown compression extension '%s'.", ext);
    return nullptr;
  }
  std::string program;
  if (!searchPath(tool->inputTool, &program)) {
    KtError("Cannot find command '%s' to uncompress\n'%s'.\nThis command needs to be in your path.",
            tool->inputTool, path);
    return nullptr;
  }
  // tool -c file >pipe
  pid_t pid = spawnTool(program, {tool->inputTool, tool->flag, fileArgument(path)}, nullptr,
                        _pipeName, O_WRONLY);
  if (pid < 0) {
    KtError("%s", std::strerror(errno));
    KtError("Unable to decompress file.");
    return nullptr;
  }
  _tool = pid;
  _toolName = tool->inputTool;
  delete[] _fileName;
  _fileName = copyName(path);
  return _pipeName;
}

void KtCompIFStream::_removeNamedPipe() {
  removePipe(&_pipeName);
}

void KtCompIFStream::close() {
  if (_tool > 0) {
    // The tool runs to its end so that its exit status tells whether the
    // whole file was read.
    if (is_open()) {
      char buffer[8192];
      while (rdbuf()->sgetn(buffer, sizeof buffer) > 0) {
      }
    }
  }
  if (is_open()) std::ifstream::close();
  if (_tool > 0) {
    bool ok = waitTool(_tool, _toolName);
    _tool = -1;
    if (!ok) {
      KtError("Command '%s' failed to uncompress\n'%s'.", _toolName, _fileName);
      setstate(std::ios::failbit);
    }
  }
  delete[] _fileName;
  _fileName = nullptr;
  _removeNamedPipe();
}

// ---------------------------------------------------------------- output

KtCompOFStream::KtCompOFStream() : _instance(_next_instance++) {}

KtCompOFStream::~KtCompOFStream() {
  close();
}

void KtCompOFStream::open(const char* path, std::ios::openmode mode, int protection) {
  (void)protection;
  if (!path) path = "";
  const char* ext = KtCompressionExtension(path);
  if (ext) {
    _openCompressed(path, ext, mode);
    return;
  }
  if (!KtPathCheckWriteAccess(path)) {
    setstate(std::ios::failbit);
    return;
  }
  std::ofstream::open(path, mode | std::ios::out);
}

void KtCompOFStream::_openCompressed(const char* path, const char* ext, std::ios::openmode mode) {
  if (!KtPathCheckWriteAccess(path)) {
    setstate(std::ios::failbit);
    return;
  }
  _createNamedPipe();
  if (!_pipeName) {
    setstate(std::ios::failbit);
    return;
  }
  // A read end held open lets a write end open at once; the write end lets
  // the tool open its read end at once.
  int hold = ::open(_pipeName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  int writer = hold >= 0 ? ::open(_pipeName, O_WRONLY | O_CLOEXEC) : -1;
  if (writer < 0 || !_spawnCompress(path, ext)) {
    if (hold >= 0) ::close(hold);
    if (writer >= 0) ::close(writer);
    _removeNamedPipe();
    setstate(std::ios::failbit);
    return;
  }
  std::ofstream::open(_pipeName, (mode | std::ios::out) & ~std::ios::app);
  ::close(hold);
  ::close(writer);
  _removeNamedPipe();
}

void KtCompOFStream::_createNamedPipe() {
  _pipeName = makePipeName("compofstream", _instance);
  createPipe(&_pipeName);
}

const char* KtCompOFStream::_spawnCompress(const char* path, const char* ext) {
  const KtCompTool* tool = toolForExtension(ext);
  if (!tool) {
    KtError("Unknown compression extension '%s'.", ext);
    return nullptr;
  }
  std::string program;
  if (!searchPath(tool->outputTool, &program)) {
    KtError("Cannot find command '%s' to compress\n'%s'.\nThis command needs to be in your path.",
            tool->outputTool, path);
    return nullptr;
  }
  // tool [flag] <pipe >file
  std::vector<std::string> args{tool->outputTool};
  if (tool->outputFlag) args.push_back(tool->outputFlag);
  pid_t pid = spawnTool(program, args, _pipeName, path, O_WRONLY | O_CREAT | O_TRUNC);
  if (pid < 0) {
    KtError("%s", std::strerror(errno));
    KtError("Unable to decompress file.");
    return nullptr;
  }
  _tool = pid;
  ignoreBrokenPipes();
  _toolName = tool->outputTool;
  delete[] _fileName;
  _fileName = copyName(path);
  return _pipeName;
}

void KtCompOFStream::_removeNamedPipe() {
  removePipe(&_pipeName);
}

void KtCompOFStream::close() {
  bool flushed = true;
  if (is_open()) {
    flush();
    flushed = good();
    std::ofstream::close();
  }
  if (_tool > 0) {
    bool ok = waitTool(_tool, _toolName);
    _tool = -1;
    restoreBrokenPipes();
    if (!ok || !flushed) {
      KtError("Command '%s' failed to compress\n'%s'.", _toolName, _fileName);
      setstate(std::ios::failbit);
    }
  }
  delete[] _fileName;
  _fileName = nullptr;
  _removeNamedPipe();
}
