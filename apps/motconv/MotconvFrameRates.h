#ifndef MOTCONV_FRAME_RATES_H
#define MOTCONV_FRAME_RATES_H

// The frame rates Raro plays back, each with the time unit that the import
// script selects for it. The command line accepts only these rates.
struct MotconvFrameRate {
  int fps;
  const char* timeUnit;  // as written after "currentUnit -time "
};

// The entry for fps, or null when Raro has no time unit for it.
const MotconvFrameRate* motconvFindFrameRate(int fps);
// The rates in increasing order, for texts that list them.
int motconvFrameRateCount();
const MotconvFrameRate* motconvFrameRateAt(int i);

#endif
