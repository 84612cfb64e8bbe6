#pragma once
// How a file is replaced whole, the part that differs between systems: which temporaries are
// abandoned, how a save holds its own, and how it takes the target's place. Used by the file
// layer only (files.cpp); each platform folder implements it.

#include <string>

namespace cuentas::replacement {

// The temporary a save writes before it takes the target's place: the target's name, ".tmp"
// and the writer's process id, so that two writers never share one.
std::string temporaryName(const std::string& nativeTarget, int processId);
// Whether `name` (a name in the target's folder) is a temporary of the target `targetName`.
bool isTemporaryOf(const std::string& name, const std::string& targetName);

// Removes the temporaries of `nativeTarget` that saves whose process ended before they were
// done (killed, crashed) left behind; never one that a save is still writing.
void removeAbandonedTemporaries(const std::string& nativeTarget);
// Creates this process's temporary for a save and holds it as its own until putInPlace:
// the open file, or the negated system error.
int createTemporary(const std::string& nativeTemporary);
// Whether a file this process holds open can be removed meanwhile (POSIX), or must be closed
// first (Windows, where a file open without sharing cannot be removed).
bool removableWhileOpen();

// Removes the temporary of a save that failed, and closes it.
void discardTemporary(int file, const std::string& nativeTemporary);
// Puts the written and flushed temporary in the target's place, in one step, and closes it:
// 0, or the negated system error, in which case the temporary is gone and the target is as
// it was.
int putInPlace(int file, const std::string& nativeTemporary, const std::string& nativeTarget);

} // namespace cuentas::replacement
