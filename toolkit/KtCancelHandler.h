#ifndef KT_CANCEL_HANDLER_H
#define KT_CANCEL_HANDLER_H

// The process-wide cancellation hook polled by long reads. An embedding
// application installs _proc (and _data); a non-zero answer stops the read.
class KtCancelHandler {
 public:
  static int (*_proc)(void* data);
  static void* _data;

  // 1 when the current read must stop ("Canceled." is recorded), else 0.
  static int checkCancel();
};

#endif
