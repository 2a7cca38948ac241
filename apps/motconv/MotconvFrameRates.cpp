#include "apps/motconv/MotconvFrameRates.h"

namespace {

const MotconvFrameRate theFrameRates[] = {
    {15, "game;\n"}, {24, "film;\n"}, {25, "pal;\n"},   {30, "ntsc;\n"},
    {48, "show;\n"}, {50, "palf;\n"}, {60, "ntscf;\n"},
};

}  // namespace

const MotconvFrameRate* motconvFindFrameRate(int fps) {
  for (const MotconvFrameRate& rate : theFrameRates) {
    if (rate.fps == fps) return &rate;
  }
  return nullptr;
}

int motconvFrameRateCount() {
  return (int)(sizeof theFrameRates / sizeof theFrameRates[0]);
}

const MotconvFrameRate* motconvFrameRateAt(int i) {
  return i >= 0 && i < motconvFrameRateCount() ? &theFrameRates[i] : nullptr;
}
