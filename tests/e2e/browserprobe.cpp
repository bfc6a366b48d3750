// Stands in for the browser in the help test: registered as the program that opens
// ".htm" files with the command  "browserprobe.exe" "<log>" %1,  it appends the command
// line it was started with to <log> and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  FILE* log = std::fopen(__argv[1], "ab");
  if (!log) return 1;
  std::fprintf(log, "%s\r\n", GetCommandLineA());
  std::fclose(log);
  return 0;
}
