# The portable core: every rule of the program, no <windows.h>.
set(OSTREL_CORE_SOURCES
  platform/FilePort.cpp
  catalogue/KeyRec.cpp
  catalogue/Collation.cpp
  catalogue/KeysList.cpp
  catalogue/Conditions.cpp
  catalogue/Abbreviation.cpp
  catalogue/LaunchOptions.cpp
  catalogue/Programs.cpp
  catalogue/FunCatalogue.cpp
  catalogue/HelpTexts.cpp
  catalogue/RecordStream.cpp
  catalogue/DefinitionFile.cpp
  catalogue/CompanionFile.cpp
  catalogue/Transfer.cpp
  macro/ListFile.cpp
  macro/MacroListEditor.cpp
  dialogs/KeyEditor.cpp
  dialogs/FunctionChooser.cpp
  components/SysHotKey.cpp
  components/KeyReplay.cpp
  components/PassOn.cpp
  components/TrayIcon.cpp
  components/RegFile.cpp
  components/ProgLink.cpp
  components/BrowseFolder.cpp
  components/Balloon.cpp
  components/Menus97.cpp
  components/MenuItemNames.cpp
  app/OstrelController.cpp
  app/KeyTree.cpp
  app/KeyEditing.cpp
  app/HotKeys.cpp
  app/Abbreviations.cpp
  app/Dispatcher.cpp
  app/Launch.cpp
  app/MouseLink.cpp
  app/MacroMenu.cpp
  app/MenuPlace.cpp
  app/Transfer.cpp
  app/TransferCommands.cpp
  app/Home.cpp
  app/HelpPage.cpp
  macro/MacroTokens.cpp
  macro/SendKeys.cpp
  macro/MacroSteps.cpp
  macro/PostedKeys.cpp
  macro/InputKeys.cpp
  macro/UserKeys.cpp
  macro/PasteRuns.cpp
  macro/Placeholders.cpp
  macro/ClipboardPaste.cpp
  app/Options.cpp
  app/OneCopy.cpp
  olwatch/CornerGesture.cpp
)
list(TRANSFORM OSTREL_CORE_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

function(ostrel_core_library name)
  add_library(${name} STATIC ${OSTREL_CORE_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
