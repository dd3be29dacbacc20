#pragma once
// The library's message boxes, answered through the runtime's one replaceable answerer
// (platform/runtime/Answerer.h). A test that drives the library in its own module installs a ScriptedAnswerer;
// one that loads the server DLL reaches the DLL's own copy of the runtime through SetMessageAnswerer.

#include <windows.h>

#include <string>

namespace imgbuf {

// Receives the text and the MessageBox style, returns the button chosen (IDOK...).
using MessageAnswerer = int(__stdcall*)(const char* text, UINT style);

// Shows the text in a message box with the library's title; returns the button chosen.
int ShowMessage(const std::string& text, UINT style);

// Installs an answerer in this module's runtime (nullptr puts the earlier state back); returns the previous
// one. A plain function crosses the DLL boundary where a C++ object would not.
MessageAnswerer SetMessageAnswerer(MessageAnswerer answerer) noexcept;

}  // namespace imgbuf
