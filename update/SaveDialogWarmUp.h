#pragma once
// The system's save dialog, the first time a process shows it, builds the shell's icon cache and reads the
// drives, the special folders of its "Save in" list and the folder it opens in, all before it handles its
// first message: its owner's window stops answering meanwhile. Done once ahead, on a thread of its own while
// the user reads the offer, the dialog finds most of that cached.

namespace update::SaveDialogWarmUp {

// Once per process; later calls do nothing.
void Start();
// Lets the warm-up go without waiting for it: the program's end must not wait for a walk of a large folder.
// The thread touches nothing of the program; the process's end stops it.
void Abandon();
// Waits for the warm-up to end (a measurement that must not share the machine with it).
void Finish();
// Whether the warm-up's thread still runs.
bool Running();

}  // namespace update::SaveDialogWarmUp
