' Late-bound use of the registered server, as a script would: create by ProgID and call GetFile.
Option Explicit
Dim f, folder, name, failures
failures = 0
Set f = CreateObject("Toolcraft.stdFunctions")

folder = "unchanged"
name = f.GetFile("C:\dir\file.ext", folder)
If name <> "file.ext" Or folder <> "C:\dir" Then
    WScript.Echo "GetFile gave '" & name & "' and '" & folder & "'"
    failures = failures + 1
End If

' The optional folder argument left out.
If f.GetFile("C:\a\b.txt") <> "b.txt" Then failures = failures + 1

folder = "unchanged"
If f.GetFile("file.ext", folder) <> "" Or folder <> "unchanged" Then failures = failures + 1

WScript.Echo failures & " failed"
WScript.Quit failures
