// Ids of menu commands and GUI elements, shared by the interface and the
// event routing.
#pragma once

enum GuiId {
  ID_MENU_QUIT = 101,
  ID_MENU_START = 102,
  ID_MENU_HELP_WINDOW = 103,
  ID_MENU_DEBUG_WINDOW = 104,
  ID_MENU_CONFIG = 105,
  ID_MENU_ABORT = 106,
  ID_MENU_LOAD = 107,
  ID_MENU_SAVE = 108,
  ID_MENU_ABOUT = 109,
  ID_MENU_ENGINE_INFO = 110,
  ID_MENU_MOVES_HISTORY = 111,
  // The quit box shares its number with "About..."; the event type tells them apart.
  ID_QUIT_BOX = 109,
  ID_BUTTON_WHITE = 112,
  ID_BUTTON_BLACK = 113,
  ID_BUTTON_TWO_PLAYERS = 114,
  ID_MENU_TAKE_BACK = 115,
  ID_MENU_RESIGN = 116,
  ID_CAM_WHITE_TOP = 205,
  ID_CAM_WHITE_SIDE = 206,
  ID_CAM_BLACK_TOP = 207,
  ID_CAM_BLACK_SIDE = 208,
};
