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
#include "toolkit/KtFilePath.h"
#include "toolkit/KtOutputFile.h"
#include "toolkit/KtPathCheck.h"
#include "toolkit/KtTemporaryFiles.h"

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

// Makes the pipe dir/prefix<instance>.<pid> and sets *name to it, or to null
// with the reason recorded. mkfifo only succeeds on a name that does not
// exist yet, so a pipe or file someone else put there is never opened. The
// pipe is registered among the temporary files until it is removed.
void createPipe(char** name, int* slot, const char* prefix, int instance) {
  *name = makePipeName(prefix, instance);
  if (mkfifo(*name, 0600) == 0) {
    *slot = KtRegisterTemporaryFile(*name);
    return;
  }
  KtError("%s", std::strerror(errno));
  KtError("Unable to create named pipe \"%s\".", *name);
  delete[] * name;
  *name = nullptr;
}

void removePipe(char** name, int* slot) {
  if (!*name) return;
  unlink(*name);
  KtForgetTemporaryFile(*slot);
  *slot = -1;
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

// Starts program with argv; stdin is opened from inName by the spawn itself
// (null: inherited), stdout from outName or, when outFd is not -1, is that
// descriptor. Returns the process id or -1 with errno.
pid_t spawnTool(const std::string& program, const std::vector<std::string>& args,
                const char* inName, const char* outName, int outFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (inName) posix_spawn_file_actions_addopen(&actions, 0, inName, O_RDONLY, 0);
  if (outFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  else if (outName)
    posix_spawn_file_actions_addopen(&actions, 1, outName, O_WRONLY, 0);
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

// Both ends of a fresh pipe held open by the program for the time the stream
// and its tool open theirs: the read end lets the write ends open at once; our
// write end lets a read end open at once, even when the tool has already
// written everything and ended.
class HeldPipeEnds {
 public:
  explicit HeldPipeEnds(const char* pipeName) {
    if (!pipeName) return;
    _hold = ::open(pipeName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (_hold >= 0) _writer = ::open(pipeName, O_WRONLY | O_CLOEXEC);
  }
  ~HeldPipeEnds() {
    if (_hold >= 0) ::close(_hold);
    if (_writer >= 0) ::close(_writer);
  }
  HeldPipeEnds(const HeldPipeEnds&) = delete;
  HeldPipeEnds& operator=(const HeldPipeEnds&) = delete;
  bool held() const { return _writer >= 0; }

 private:
  int _hold = -1;
  int _writer = -1;
};

// The way data flows through a tool, and the word its messages use for it.
enum class ToolDirection { Uncompress, Compress };

const char* directionWord(ToolDirection direction) {
  return direction == ToolDirection::Compress ? "compress" : "uncompress";
}

// Starts the tool for ext on path with the pipe at its other end: the
// uncompressing tool reads path and writes the pipe ("tool -c file >pipe"),
// the compressing one reads the pipe and writes the file that stands for
// path, the descriptor outFd ("tool [flag] <pipe >file"). False, with the
// reason recorded, when it cannot be started.
bool startTool(ToolDirection direction, const char* path, const char* ext, const char* pipeName,
               int outFd, pid_t* pid, const char** toolName) {
  const KtCompTool* tool = toolForExtension(ext);
  if (!tool) {
    KtError("Unknown compression extension '%s'.", ext);
    return false;
  }
  const bool compress = direction == ToolDirection::Compress;
  const char* name = compress ? tool->outputTool : tool->inputTool;
  std::string program;
  if (!searchPath(name, &program)) {
    KtError("Cannot find command '%s' to %s\n'%s'.\nThis command needs to be in your path.", name,
            directionWord(direction), path);
    return false;
  }
  pid_t started;
  if (compress) {
    std::vector<std::string> args{name};
    if (tool->outputFlag) args.push_back(tool->outputFlag);
    started = spawnTool(program, args, pipeName, nullptr, outFd);
  } else {
    started = spawnTool(program, {name, tool->flag, fileArgument(path)}, nullptr, pipeName, -1);
  }
  if (started < 0) {
    // The same words for either direction.
    KtError("%s", std::strerror(errno));
    KtError("Unable to decompress file.");
    return false;
  }
  *pid = started;
  if (compress) ignoreBrokenPipes();
  *toolName = name;
  return true;
}

// Waits for the stream's tool, if one was started; false, with the failure
// recorded against fileName, when the tool failed or streamOk is false.
bool finishTool(ToolDirection direction, pid_t* pid, const char* toolName, const char* fileName,
                bool streamOk) {
  if (*pid <= 0) return true;
  bool ok = waitTool(*pid, toolName);
  *pid = -1;
  if (direction == ToolDirection::Compress) restoreBrokenPipes();
  if (ok && streamOk) return true;
  KtError("Command '%s' failed to %s\n'%s'.", toolName, directionWord(direction), fileName);
  return false;
}

// Waits for a compressing tool whose output is given up, recording nothing.
void reapCompressor(pid_t* pid, const char* toolName) {
  if (*pid <= 0) return;
  waitTool(*pid, toolName);
  *pid = -1;
  restoreBrokenPipes();
}

// The reason a write failed, as the last line of the chain its writer
// recorded (or on its own when the writer recorded nothing).
void recordReasonBelow(int error) {
  KtExcept* oldest = theExceptObj.exception();
  if (!oldest) {
    KtError("%s", std::strerror(error));
    return;
  }
  while (oldest->hasDetail()) oldest = oldest->detail();
  oldest->extend(std::strerror(error));
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
  std::string name = KtCompressionExtension(path) ? path : KtFileCompressedName(path).text();
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
  {
    HeldPipeEnds ends(_pipeName);
    if (ends.held() && _spawnUncompress(path, ext))
      std::ifstream::open(_pipeName, mode | std::ios::in);
    else
      setstate(std::ios::failbit);
  }
  // Both ends are open (or the open failed): the name is no longer needed.
  _removeNamedPipe();
}

void KtCompIFStream::_createNamedPipe() {
  createPipe(&_pipeName, &_pipeSlot, "compifstream", _instance);
}

const char* KtCompIFStream::_spawnUncompress(const char* path, const char* ext) {
  if (!startTool(ToolDirection::Uncompress, path, ext, _pipeName, -1, &_tool, &_toolName))
    return nullptr;
  delete[] _fileName;
  _fileName = copyName(path);
  return _pipeName;
}

void KtCompIFStream::_removeNamedPipe() {
  removePipe(&_pipeName, &_pipeSlot);
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
  if (!finishTool(ToolDirection::Uncompress, &_tool, _toolName, _fileName, true))
    setstate(std::ios::failbit);
  delete[] _fileName;
  _fileName = nullptr;
  _removeNamedPipe();
}

// ---------------------------------------------------------------- output

KtCompOFStream::KtCompOFStream() : _instance(_next_instance++) {}

KtCompOFStream::~KtCompOFStream() {
  _discard(false);
}

void KtCompOFStream::open(const char* path, std::ios::openmode mode, int protection) {
  (void)protection;
  if (!path) path = "";
  const char* ext = KtCompressionExtension(path);
  if (ext) {
    _openCompressed(path, ext, mode);
    return;
  }
  if (!KtPathCheckWriteAccess(path) || !_openFile(path)) {
    setstate(std::ios::failbit);
    return;
  }
  // The text goes through the file's own buffer.
  std::ios::rdbuf(_file->stream().rdbuf());
}

bool KtCompOFStream::_openFile(const char* path) {
  _file.reset(new KtOutputFile(path));
  if (!_file->open()) {
    _file->recordFailure();
    _file.reset();
    return false;
  }
  if (_file->writesInPlace()) _file->recordWritingInPlace();
  return true;
}

void KtCompOFStream::_detachFile() {
  std::ios::iostate state = rdstate();
  std::ios::rdbuf(std::ofstream::rdbuf());
  clear(state);
}

void KtCompOFStream::_openCompressed(const char* path, const char* ext, std::ios::openmode mode) {
  if (!KtPathCheckWriteAccess(path)) {
    setstate(std::ios::failbit);
    return;
  }
  _createNamedPipe();
  {
    HeldPipeEnds ends(_pipeName);
    if (ends.held() && _openFile(path) && _spawnCompress(path, ext)) {
      std::ofstream::open(_pipeName, (mode | std::ios::out) & ~std::ios::app);
    } else {
      _file.reset();
      setstate(std::ios::failbit);
    }
  }
  _removeNamedPipe();
}

void KtCompOFStream::_createNamedPipe() {
  createPipe(&_pipeName, &_pipeSlot, "compofstream", _instance);
}

const char* KtCompOFStream::_spawnCompress(const char* path, const char* ext) {
  if (!startTool(ToolDirection::Compress, path, ext, _pipeName, _file->descriptor(), &_tool,
                 &_toolName))
    return nullptr;
  delete[] _fileName;
  _fileName = copyName(path);
  return _pipeName;
}

void KtCompOFStream::_removeNamedPipe() {
  removePipe(&_pipeName, &_pipeSlot);
}

void KtCompOFStream::close() {
  bool flushed = true;
  if (is_open()) {
    flush();
    flushed = good();
    std::ofstream::close();
  }
  bool toolDone = finishTool(ToolDirection::Compress, &_tool, _toolName, _fileName, flushed);
  if (!toolDone) setstate(std::ios::failbit);
  if (_file) {
    _detachFile();
    if (!toolDone || !_file->commit()) {
      if (toolDone) _file->recordFailure();
      setstate(std::ios::failbit);
    }
    _file.reset();
  }
  delete[] _fileName;
  _fileName = nullptr;
  _removeNamedPipe();
}

void KtCompOFStream::discard() {
  _discard(true);
}

void KtCompOFStream::_discard(bool recordReason) {
  if (is_open()) std::ofstream::close();
  reapCompressor(&_tool, _toolName);
  if (_file) {
    _detachFile();
    if (!_file->finish() && recordReason) recordReasonBelow(_file->error());
    _file.reset();
  }
  delete[] _fileName;
  _fileName = nullptr;
  _removeNamedPipe();
}
