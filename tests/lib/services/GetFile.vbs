' Late-bound use of the registered server, as a script would: create by ProgID and call GetFile with the
' script's own variables, which a script passes by reference. Every call is checked for a run-time error;
' the last line says PASS only when every check held.
Option Explicit
On Error Resume Next
Dim f, path, folder, name, failures
failures = 0

Sub Check(what, ok)
    If Err.Number <> 0 Then
        WScript.Echo "FAIL " & what & ": error " & Err.Number & " " & Err.Description
        Err.Clear
        failures = failures + 1
    ElseIf Not ok Then
        WScript.Echo "FAIL " & what
        failures = failures + 1
    End If
End Sub

Set f = CreateObject("Toolcraft.stdFunctions")
Check "CreateObject", IsObject(f)

path = "C:\dir\file.ext"
folder = "unchanged"
name = f.GetFile(path, folder)
Check "GetFile(path, folder) gave '" & name & "' and '" & folder & "'", _
      name = "file.ext" And folder = "C:\dir" And path = "C:\dir\file.ext"

' A variable holding a number is a text for the server, and comes back as one.
folder = 5
name = f.GetFile(path, folder)
Check "GetFile into a number variable gave " & TypeName(folder), TypeName(folder) = "String" And folder = "C:\dir"

' The optional folder argument left out.
name = f.GetFile("C:\a\b.txt")
Check "GetFile without a folder gave '" & name & "'", name = "b.txt"

folder = "unchanged"
name = f.GetFile("file.ext", folder)
Check "GetFile of a bare name gave '" & name & "' and '" & folder & "'", name = "" And folder = "unchanged"

If failures = 0 Then
    WScript.Echo "orcmcls script: PASS"
Else
    WScript.Echo "orcmcls script: FAIL (" & failures & " failed)"
End If
