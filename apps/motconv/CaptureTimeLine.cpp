#include "apps/motconv/CaptureTimeLine.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// The terms' limits keep every product of the time line within 128 bits
// and the scene's divisor F q within 64.
const long long kTermLimit = 1000000000000000000LL;        // 10^18
const long long kDenominatorLimit = 100000000000000000LL;  // 10^17

long long gcd(long long a, long long b) {
  while (b != 0) {
    const long long t = a % b;
    a = b;
    b = t;
  }
  return a;
}

// floor(a / b) for b > 0.
__int128 floorDiv(__int128 a, __int128 b) {
  __int128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}

// The exact value of a decimal text (digits, an optional point, an
// optional exponent) as a reduced fraction; false when it is no such text
// or a term would exceed 10^18.
bool decimalFraction(const char* text, long long* numerator, long long* denominator) {
  const char* p = text;
  if (*p == '+') ++p;
  __int128 digits = 0;
  int significant = 0;
  int scale = 0;  // the value is digits * 10^scale
  bool any = false;
  bool point = false;
  for (; *p; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (!std::isdigit((unsigned char)*p)) break;
    any = true;
    if (digits == 0 && *p == '0') {
      if (point) --scale;
      continue;
    }
    if (++significant > 18) return false;
    digits = digits * 10 + (*p - '0');
    if (point) --scale;
  }
  if (!any) return false;
  if (*p == 'e' || *p == 'E') {
    ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!std::isdigit((unsigned char)*p)) return false;
    int exponent = 0;
    for (; std::isdigit((unsigned char)*p); ++p) {
      exponent = exponent * 10 + (*p - '0');
      if (exponent > 100) return false;
    }
    scale += negative ? -exponent : exponent;
  }
  if (*p != 0 || digits == 0) return false;
  __int128 num = digits;
  __int128 den = 1;
  for (; scale > 0; --scale)
    if ((num *= 10) > kTermLimit) return false;
  for (; scale < 0; ++scale)
    if ((den *= 10) > (__int128)kTermLimit * 100) return false;
  // Reduced before the limits apply: 2.50 is 5 / 2.
  while (den % 10 == 0 && num % 10 == 0) {
    num /= 10;
    den /= 10;
  }
  const long long g = gcd((long long)num, (long long)den);
  num /= g;
  den /= g;
  if (num > kTermLimit || den > kDenominatorLimit) return false;
  *numerator = (long long)num;
  *denominator = (long long)den;
  return true;
}

// The best fraction within the limits for a finite value above 0, from its
// continued fraction; values beyond the terms' reach are held at 10^18 or
// 10^-17, which no frame number within int tells apart from them.
void nearestFraction(double value, long long* numerator, long long* denominator) {
  if (value >= 1e18) {
    *numerator = kTermLimit;
    *denominator = 1;
    return;
  }
  if (value <= 1e-17) {
    *numerator = 1;
    *denominator = kDenominatorLimit;
    return;
  }
  long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
  double x = value;
  for (int i = 0; i < 64; ++i) {
    const double a = std::floor(x);
    if (a > 1e18) break;
    const long long ai = (long long)a;
    const __int128 p2 = (__int128)ai * p1 + p0;
    const __int128 q2 = (__int128)ai * q1 + q0;
    if (p2 > kTermLimit || q2 > kDenominatorLimit) break;
    p0 = p1;
    q0 = q1;
    p1 = (long long)p2;
    q1 = (long long)q2;
    const double rest = x - a;
    if (rest <= 0 || (double)p1 / (double)q1 == value) break;
    x = 1.0 / rest;
  }
  *numerator = p1;
  *denominator = q1;
}

// A result that a long long cannot hold is held at its limit, which lies
// beyond every frame number a line can carry just as well.
long long saturated(__int128 v) {
  if (v > (__int128)LLONG_MAX) return LLONG_MAX;
  if (v < (__int128)LLONG_MIN) return LLONG_MIN;
  return (long long)v;
}

}  // namespace

bool motconvIsRateNumber(const char* text, double* value) {
  if (!text || !*text || std::isspace((unsigned char)*text)) return false;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (*end != 0 || !std::isfinite(v) || !(v > 0)) return false;
  *value = v;
  return true;
}

bool motconvParseCaptureRate(const char* text, MotconvCaptureRate* rate) {
  double value = 0;
  if (!motconvIsRateNumber(text, &value)) return false;
  rate->text = text;
  if (!decimalFraction(text, &rate->numerator, &rate->denominator))
    nearestFraction(value, &rate->numerator, &rate->denominator);
  return true;
}

CaptureTimeLine::CaptureTimeLine(const MotconvCaptureRate& rate, int fps)
    : _sceneNumerator((__int128)fps * rate.denominator), _captureNumerator(rate.numerator) {}

bool CaptureTimeLine::passesThrough() const {
  return _sceneNumerator == _captureNumerator;
}

long long CaptureTimeLine::sceneFrameAtOrAfter(long long n) const {
  return saturated(-floorDiv(-(__int128)n * _sceneNumerator, _captureNumerator));
}

long long CaptureTimeLine::sceneFrameAtOrBefore(long long n) const {
  return saturated(floorDiv((__int128)n * _sceneNumerator, _captureNumerator));
}

CaptureTimeLine::CaptureTime CaptureTimeLine::captureTimeOf(long long m) const {
  const __int128 a = (__int128)m * _captureNumerator;
  const __int128 whole = floorDiv(a, _sceneNumerator);
  const __int128 remainder = a - whole * _sceneNumerator;
  CaptureTime t;
  t.whole = (long long)whole;
  t.exact = remainder == 0;
  t.fraction = (double)remainder / (double)_sceneNumerator;
  return t;
}
