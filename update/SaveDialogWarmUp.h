#pragma once
// The system's save dialog, the first time a process shows it, builds the shell's icon cache and reads the
// drives, the special folders of its "Save in" list and the folder it opens in, all before it handles its
// first message: its owner's window stops answering meanwhile. Done once ahead, on a thread of its own while
// the user reads the offer, the dialog finds most of that cached.

namespace update::SaveDialogWarmUp {

// Once per process; later calls do nothing.
void Start();
// Waits for the warm-up to end. Before the process ends, so that no thread is cut off inside the shell
// holding one of its locks.
void Finish();

}  // namespace update::SaveDialogWarmUp
