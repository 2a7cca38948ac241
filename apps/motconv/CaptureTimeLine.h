#ifndef CAPTURE_TIME_LINE_H
#define CAPTURE_TIME_LINE_H

// The rate a take was captured at ("-capture <rate>"): the text as typed
// and its exact value numerator / denominator. A rate typed as a decimal
// (120, 29.97, 2.5e1) whose reduced fraction has a numerator up to 10^18
// and a denominator up to 10^17 is held exactly, so that a frame that falls
// on a scene frame is found by integer arithmetic and never lost to
// rounding; any other finite rate (more digits, a hexadecimal form) is held
// as the nearest fraction within those limits.
struct MotconvCaptureRate {
  const char* text = nullptr;
  long long numerator = 0;
  long long denominator = 1;
};

// True when text, as a whole, is a finite number above 0; *value gets it.
bool motconvIsRateNumber(const char* text, double* value);
// True (with *rate filled) when text is a finite number above 0.
bool motconvParseCaptureRate(const char* text, MotconvCaptureRate* rate);

// The scene's time line for a take captured at C frames per second and
// played at F: AMC frame n lies at n / C seconds, scene frame m at m / F,
// so scene frame m shows the capture at u = m C / F. All exact.
class CaptureTimeLine {
 public:
  CaptureTimeLine(const MotconvCaptureRate& rate, int fps);

  // C equals F: every AMC frame is its own scene frame.
  bool passesThrough() const;
  // ceil(n F / C): the first scene frame at or after AMC frame n.
  long long sceneFrameAtOrAfter(long long n) const;
  // floor(n F / C): the last scene frame at or before AMC frame n.
  long long sceneFrameAtOrBefore(long long n) const;

  // u = whole + fraction, 0 <= fraction < 1; exact when the fraction is 0
  // (found in integers, not from the double).
  struct CaptureTime {
    long long whole;
    bool exact;
    double fraction;
  };
  CaptureTime captureTimeOf(long long m) const;

 private:
  __int128 _sceneNumerator;    // F q
  __int128 _captureNumerator;  // p: n F / C = n F q / p, u = m p / (F q)
};

#endif
