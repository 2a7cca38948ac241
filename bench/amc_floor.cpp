// The parse-and-print floor of a conversion: reads an AMC file line by line
// and writes every number of it again in the MOV file's form ("%g", six
// significant digits, each followed by a blank), one output line per input
// line, with <charconv> and large blocks. No model, no check, no matrix: what
// any converter of the take has to pay at least.
//   amc_floor file.amc out.txt

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: amc_floor file.amc out.txt\n";
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!in || !out) {
    std::cerr << "amc_floor: cannot open the files\n";
    return 1;
  }
  std::vector<char> buffer(1 << 18);
  std::vector<char> line;
  std::vector<char> text;
  text.reserve(1 << 18);
  long numbers = 0;
  auto flushLine = [&]() {
    const char* p = line.data();
    const char* end = p + line.size();
    while (p < end) {
      while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) p++;
      if (p == end) break;
      float v;
      std::from_chars_result r = std::from_chars(p, end, v);
      if (r.ec == std::errc()) {
        char digits[32];
        std::to_chars_result w =
            std::to_chars(digits, digits + sizeof digits, v, std::chars_format::general, 6);
        text.insert(text.end(), digits, w.ptr);
        text.push_back(' ');
        numbers++;
        p = r.ptr;
      } else {
        while (p < end && *p != ' ' && *p != '\t') p++;
      }
    }
    text.push_back('\n');
    line.clear();
    if (text.size() > (1 << 17)) {
      std::fwrite(text.data(), 1, text.size(), out);
      text.clear();
    }
  };
  for (;;) {
    std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    if (got == 0) break;
    const char* p = buffer.data();
    const char* end = p + got;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
      const char* stop = nl ? nl : end;
      line.insert(line.end(), p, stop);
      if (!nl) break;
      flushLine();
      p = nl + 1;
    }
  }
  if (!line.empty()) flushLine();
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(in);
  bool ok = std::fclose(out) == 0;
  std::cout << numbers << " numbers\n";
  return ok ? 0 : 1;
}
