#pragma once
// The runtime's record of the program's forms, shared by the files of Form.

#include <windows.h>

#include <vector>

namespace forms {

class Form;

namespace formregistry {

inline constexpr char WindowClass[] = "QuillviewForm";

// Every form object that exists, in creation order.
std::vector<Form*>& All();
Form*& MainForm();
// The form that last became the program's active form (Activate runs when this changes).
Form*& LastActive();
// Owner of forms that are not in the task bar: owned windows get no task bar button.
HWND ParkingWindow();

}  // namespace formregistry
}  // namespace forms
