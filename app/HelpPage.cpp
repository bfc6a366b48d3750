#include "app/HelpPage.h"

#include "platform/Paths.h"

namespace ostrel {

namespace {

bool KeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string HelpPagePath(std::string_view modulePath) {
  std::string path = FolderOf(modulePath);
  path += kHelpPageName;
  return path;
}

std::string HelpPageAddress(std::string_view modulePath, int context) {
  std::string path = HelpPagePath(modulePath);
  for (char& c : path)
    if (c == '\\') c = '/';
  std::string_view rest = path;
  bool network = false;
  if (rest.starts_with("//?/UNC/")) {
    rest.remove_prefix(8);
    network = true;
  } else if (rest.starts_with("//?/")) {
    rest.remove_prefix(4);
  } else if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    network = true;
  }

  // "file://" + host for a network path, "file:///" + the drive for a local one.
  std::string address = network ? "file://" : "file:///";
  if (!network && rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == ':') {
    address += rest.substr(0, 2);
    rest.remove_prefix(2);
  }
  if (!network && rest.starts_with('/') && address.ends_with('/')) rest.remove_prefix(1);
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char ch : rest) {
    const auto c = static_cast<unsigned char>(ch);
    if (KeptAsIs(c)) {
      address += ch;
    } else {
      address += '%';
      address += kHex[c >> 4];
      address += kHex[c & 15];
    }
  }
  address += "#context-";
  address += std::to_string(context);
  return address;
}

std::string HelpCommandLine(std::string_view registered, std::string_view address) {
  std::string command(registered);
  bool placed = false;
  for (std::size_t at = 0; (at = command.find('%', at)) != std::string::npos;) {
    const char next = at + 1 < command.size() ? command[at + 1] : '\0';
    if (next == '1' || next == 'L' || next == 'l') {
      command.replace(at, 2, address);
      at += address.size();
      placed = true;
    } else if (next == '*') {
      command.erase(at, 2);
    } else {
      ++at;
    }
  }
  if (!placed) {
    command += ' ';
    command += address;
  }
  return command;
}

}  // namespace ostrel
