// Any bytes as a macro list file, then any sequence of editor actions on it: reading
// never crashes or keeps a line break, names and values are found where the lines say,
// a save reloads to the same lines, and a save that fails leaves the old file as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/MemoryFiles.h"
#include "macro/ListFile.h"
#include "macro/MacroListEditor.h"

using namespace ostrel;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Input boxes and typing take their texts from the fuzz input.
class FuzzView : public MacroListView {
 public:
  MacroListEditor* editor = nullptr;
  std::vector<std::string> names;
  int selected = -1;
  std::string macro;
  std::string answer;

  void SetMenuNames(const std::vector<std::string>& n) override {
    names = n;
    selected = -1;
  }
  int SelectedLine() override { return selected; }
  void SelectLine(int index) override { selected = index; }
  void SetMacroText(const std::string& text) override {
    macro = text;
    editor->MenuKeysChange();
  }
  std::string MacroText() override { return macro; }
  void SetMacroReadOnly(bool) override {}
  void FocusMacro() override {}
  void SetHelpText(const std::string&) override {}
  std::string InputBox(const std::string&, const std::string&, const std::string&) override {
    return answer;
  }
  void ShowError(const std::string&) override {}
  void RequestHelp(int) override {}
  void Close() override { editor->FormCloseQuery(); }
};

void CheckLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
  // Every value found by name is the macro of a line carrying a name that matches.
  for (const std::string& line : lines) {
    if (line.find('=') == std::string::npos) continue;
    std::string name = ListItemName(line);
    std::string value = ListItemValue(lines, name, PortableCollate);
    bool found = false;
    for (const std::string& other : lines) {
      std::size_t eq = other.find('=');
      if (eq != std::string::npos && PortableCollate(other.substr(0, eq), name) == 0) {
        found = other.substr(eq + 1) == value;
        break;  // the first match decides
      }
    }
    Check(found);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Layout: the file's bytes up to the first 0xFF, then actions, one byte each, the
  // rest of an action's text running to the next 0xFE.
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t split = input.find('\xFF');
  std::string file = input.substr(0, split);
  std::string actions = split == std::string::npos ? std::string() : input.substr(split + 1);

  std::vector<std::string> lines = ParseListText(file);
  CheckLines(lines);
  std::string text = ListFileText(lines);
  Check(ParseListText(text) == lines);

  testing::MemoryFileSystem fs;
  const std::string path = "C:\\O\\SendKeyList_1.skl";
  fs.files[path] = file;
  FuzzView view;
  MacroListEditor editor(view, fs, PortableCollate);
  view.editor = &editor;
  editor.FormCreate();
  editor.ListFileName = path;
  editor.FormShow();
  // The editor leaves a UTF-8 byte-order mark out of the first name.
  const bool marked = file.rfind("\xEF\xBB\xBF", 0) == 0;
  Check(editor.ItemList() == (marked ? ParseListText(std::string_view(file).substr(3)) : lines));
  std::vector<std::string> stored = editor.ItemList();  // what the file holds as read

  std::size_t at = 0;
  while (at < actions.size()) {
    unsigned char op = static_cast<unsigned char>(actions[at++]);
    std::size_t end = actions.find('\xFE', at);
    std::string arg = actions.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? actions.size() : end + 1;
    switch (op % 6) {
      case 0:
        view.answer = arg;
        editor.AddClick();
        break;
      case 1:
        editor.DeleteClick();
        break;
      case 2:
        view.selected = arg.empty() ? -1 : static_cast<unsigned char>(arg[0]) % 8;
        editor.MenuListClick();
        break;
      case 3:
        view.macro = arg;
        editor.MenuKeysChange();
        break;
      case 4: {  // a close, perhaps on a failing disk
        const std::string before = fs.files[path];
        fs.replaceFails = op & 0x10;
        fs.commitFails = op & 0x20;
        fs.diskSpace = (op & 0x40) ? static_cast<long>(arg.size()) : -1;
        bool failing = fs.replaceFails || fs.commitFails ||
                       (fs.diskSpace >= 0 &&
                        ListFileText(editor.ItemList()).size() > static_cast<std::size_t>(fs.diskSpace));
        editor.FormCloseQuery();
        Check(!fs.Exists(StagingName(path)));
        if (failing || editor.ItemList() == stored) {
          Check(fs.files[path] == before);  // an unchanged list is not rewritten
        } else {
          // The file holds the list as it is now, byte for byte.
          Check(fs.files[path] == ListFileText(editor.ItemList()));
          stored = editor.ItemList();
        }
        fs.replaceFails = fs.commitFails = false;
        fs.diskSpace = -1;
        break;
      }
      default:
        Check(view.names.size() == editor.ItemList().size());
        break;
    }
  }
  return 0;
}
