#ifndef KT_COMP_STREAM_H
#define KT_COMP_STREAM_H

// File streams that pass files named *.Z, *.gz and *.jpeg through the
// matching external tool, connected by a named pipe. Plain files are opened
// directly. Failures set the fail bit and are recorded with KtError.

#include <sys/types.h>

#include <fstream>
#include <memory>

class KtOutputFile;

class KtCompIFStream : public std::ifstream {
 public:
  KtCompIFStream();
  ~KtCompIFStream() override;
  KtCompIFStream(const KtCompIFStream&) = delete;
  KtCompIFStream& operator=(const KtCompIFStream&) = delete;

  void open(const char* path, std::ios::openmode mode = std::ios::in, int protection = 0);
  // Closes the stream and waits for the tool; a failed tool records an error
  // naming tool and file and sets the fail bit.
  void close();
  int isCompressed() const { return _compressed; }

  static int _next_instance;

 private:
  void _openCompressed(const char* path, const char* ext, std::ios::openmode mode);
  void _createNamedPipe();
  const char* _spawnUncompress(const char* path, const char* ext);
  void _removeNamedPipe();

  char* _pipeName = nullptr;
  int _pipeSlot = -1;  // the pipe's place among the temporary files
  int _instance;
  int _compressed = 0;
  pid_t _tool = -1;
  const char* _toolName = "";
  char* _fileName = nullptr;
};

// The output stream writes its file whole or not at all, through a
// KtOutputFile: a plain file's text, or the compressing tool's output, goes
// to a temporary file beside the target (or, where none can be made, to a
// scratch file copied in place, after a recorded warning), which close()
// puts in place only when everything was written and the tool succeeded.
// A stream destroyed without close(), or given up with discard(), leaves
// the target as it was.
class KtCompOFStream : public std::ofstream {
 public:
  KtCompOFStream();
  ~KtCompOFStream() override;
  KtCompOFStream(const KtCompOFStream&) = delete;
  KtCompOFStream& operator=(const KtCompOFStream&) = delete;

  // The mode's append flag is not honoured: the file is always replaced.
  void open(const char* path, std::ios::openmode mode = std::ios::out, int protection = 0);
  // Closes the stream and waits for the tool, then puts the file in place.
  // A failed tool records an error naming tool and file; a failed write,
  // close or rename records the system's reason and what failed; either
  // sets the fail bit and leaves the target as it was.
  void close();
  // Closes the stream and waits for the tool without putting the file in
  // place (a writer that recorded an error gives its output up). A write
  // that had failed adds the system's reason as the last line of the
  // recorded chain.
  void discard();

  static int _next_instance;

 private:
  void _openCompressed(const char* path, const char* ext, std::ios::openmode mode);
  bool _openFile(const char* path);
  void _detachFile();
  void _discard(bool recordReason);
  void _createNamedPipe();
  const char* _spawnCompress(const char* path, const char* ext);
  void _removeNamedPipe();

  char* _pipeName = nullptr;
  int _pipeSlot = -1;
  std::unique_ptr<KtOutputFile> _file;  // where the text or the tool's output goes
  int _instance;
  pid_t _tool = -1;
  const char* _toolName = "";
  char* _fileName = nullptr;
};

// The extension code ("Z", "gz", "jpeg") of a compressed name, or null.
const char* KtCompressionExtension(const char* path);
// The full path of tool found on $PATH (empty entries skipped), or "".
bool KtFindOnSearchPath(const char* tool, char* out, int outSize);

#endif
