#ifndef CL_SIGNALS_H
#define CL_SIGNALS_H

// What a program does on the signals that end or limit it, set up once at
// its start: on SIGINT, SIGTERM and SIGHUP it removes its temporary files
// (KtRemoveTemporaryFiles) and then ends by the signal as if it had not
// caught it, so that its exit status still tells the signal; a signal the
// program was started to ignore (nohup, a background job) stays ignored.
// SIGXFSZ is ignored, so that a write beyond the file-size limit (ulimit
// -f) fails with an error the program reports, instead of killing it with
// its temporary files left behind.
void ClSetUpSignals();

#endif
