@echo off
rem Ostrel's self-test: runs the Windows test programs of this folder one by one and ends
rem with the line "N passed, N failed"; the exit code is 1 when any of them failed.
rem Unpack the zip into a folder you may write to, end Ostrel if it runs, and start this
rem file (or type run-tests.cmd in a command prompt there). The tests open windows, type
rem into them and move the mouse: leave the machine alone until the last line.
rem Each program runs under timelimit.exe: one still running after its limit is ended and
rem counts as failed, so the last line always comes.
setlocal
cd /d "%~dp0"
set passed=0
set failed=0

echo == The Win32 tests: the program's windows and adapters on this system
timelimit.exe 600 win32_tests.exe --gtest_filter=-SaveCrash.*
if %errorlevel% equ 0 (set /a passed+=1) else (set /a failed+=1)

echo == Keys.fil when a save is killed at each of its steps
timelimit.exe 1200 win32_tests.exe --gtest_filter=SaveCrash.*
if %errorlevel% equ 0 (set /a passed+=1) else (set /a failed+=1)

echo == Ostrel.exe started beside a Keys.fil and ended by its terminate message
timelimit.exe 300 smoketest.exe
if %errorlevel% equ 0 (set /a passed+=1) else (set /a failed+=1)

echo %passed% passed, %failed% failed
if %failed% neq 0 exit /b 1
exit /b 0
