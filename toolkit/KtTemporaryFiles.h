#ifndef KT_TEMPORARY_FILES_H
#define KT_TEMPORARY_FILES_H

// The temporary files a process has made and not yet renamed into place or
// removed, kept where a signal handler can reach them. The registry owns
// the names only; the files belong to whoever made them (KtOutputFile, the
// compressed streams' named pipes).
//
// The library installs no signal handler: what a process does on a signal
// is its own decision. A program that wants its temporary files gone when
// it is interrupted calls KtRemoveTemporaryFiles() from its handler (the
// converters do, for SIGINT, SIGTERM and SIGHUP).

#include <string>

// Makes a new file named stem followed by ".tmp-" and six random letters
// and digits, created exclusively (O_CREAT | O_EXCL, another name is tried
// when one exists) with mode 0666, so that the kernel applies the umask and
// the directory's default permissions, and registers it; no signal handler
// can run between the two. Returns the descriptor (closed on exec) and sets
// *path and *slot, or returns -1 with errno set.
int KtCreateTemporaryFile(const std::string& stem, std::string* path, int* slot);

// Registers a path made otherwise. Returns the slot, or -1 when the path is
// too long or every slot is taken: the file is then not removed on a
// signal.
int KtRegisterTemporaryFile(const char* path);

// Forgets a registered path once it is renamed into place or removed; a
// slot of -1 is ignored.
void KtForgetTemporaryFile(int slot);

// Removes every registered file. Safe in a signal handler: it calls only
// unlink, on names stored when they were registered.
void KtRemoveTemporaryFiles();

#endif
