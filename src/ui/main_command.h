// The numbers under which menu items, toolbar buttons and shortcuts reach the main window.
#pragma once

enum class MainCommand : int {
  New = 0,
  Exit = 3,
  InputChooser = 4,
  AddInputFile = 5,
  SelectOutputFolder = 7,
  OutputFormatOptions = 8,
  Copy = 11,
  Delete = 12,
  SelectAll = 13,
  Convert = 14,
  FindConverter = 16,
  Preferences = 17,
  Manual = 18,
  SendFeedback = 21,
  VisitHomepage = 22,
  CheckForNewVersion = 23,
  About = 24,
};
