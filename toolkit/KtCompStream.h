#ifndef KT_COMP_STREAM_H
#define KT_COMP_STREAM_H

// File streams that pass files named *.Z, *.gz and *.jpeg through the
// matching external tool, connected by a named pipe. Plain files are opened
// directly. Failures set the fail bit and are recorded with KtError.

#include <sys/types.h>

#include <fstream>

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
  int _instance;
  int _compressed = 0;
  pid_t _tool = -1;
  const char* _toolName = "";
  char* _fileName = nullptr;
};

class KtCompOFStream : public std::ofstream {
 public:
  KtCompOFStream();
  ~KtCompOFStream() override;
  KtCompOFStream(const KtCompOFStream&) = delete;
  KtCompOFStream& operator=(const KtCompOFStream&) = delete;

  void open(const char* path, std::ios::openmode mode = std::ios::out, int protection = 0);
  // Closes the stream and waits for the tool; a failed tool records an error
  // naming tool and file and sets the fail bit.
  void close();

  static int _next_instance;

 private:
  void _openCompressed(const char* path, const char* ext, std::ios::openmode mode);
  void _createNamedPipe();
  const char* _spawnCompress(const char* path, const char* ext);
  void _removeNamedPipe();

  char* _pipeName = nullptr;
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
