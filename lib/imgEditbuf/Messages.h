#pragma once
// The library's message boxes. A test replaces the answerer so that nothing waits on a person; the one
// answerer serves the whole module, as the server DLL has no forms runtime of its own.

#include <windows.h>

#include <string>

namespace imgbuf {

// Receives the text and the MessageBox style, returns the button chosen (IDOK...).
using MessageAnswerer = int(__stdcall*)(const char* text, UINT style);

// Shows the text in a message box with the library's title; returns the button chosen.
int ShowMessage(const std::string& text, UINT style);

// Installs an answerer (nullptr restores the real message box); returns the previous one.
MessageAnswerer SetMessageAnswerer(MessageAnswerer answerer) noexcept;

}  // namespace imgbuf
