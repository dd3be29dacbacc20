@echo off
rem Registers the server, runs a script against it, and unregisters it again.
C:\windows\system32\regsvr32.exe /s "%~1"
if errorlevel 1 exit /b 10
C:\windows\system32\cscript.exe //nologo "%~2"
set result=%errorlevel%
C:\windows\system32\regsvr32.exe /u /s "%~1"
exit /b %result%
