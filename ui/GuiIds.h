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
  ID_LOAD_DIALOG = 240,
  ID_RESUME_BOX = 241,
  ID_QUIT_UNSAVED_BOX = 242, // the unfinished game could not be kept at quit
  ID_GAME_LIST_WINDOW = 243, // a file of several games: which one to open
  ID_GAME_LIST = 244,
  ID_GAME_LIST_OPEN = 245,
  ID_GAME_LIST_CANCEL = 246,
  ID_OPEN_PART_BOX = 247, // a broken file: open the moves before its fault?
  ID_MENU_HINT = 130,
  ID_MENU_REVIEW = 117,
  // The review window and the game-over banner's Review button.
  ID_REVIEW_WINDOW = 250,
  ID_REVIEW_CANCEL = 251,
  ID_REVIEW_SAVE = 252,
  ID_REVIEW_CLOSE = 253,
  ID_REVIEW_MOVES = 254,
  ID_BANNER_REVIEW = 255,
  ID_MOVE_BOX = 260, // the typed moves' box below the board
  // Program > Games...: the games library's window, its controls and the
  // question before a game is deleted.
  ID_MENU_GAMES = 118,
  ID_GAMES_WINDOW = 270,
  ID_GAMES_TABLE = 271,
  ID_GAMES_RESULT = 272,
  ID_GAMES_LEVEL = 273,
  ID_GAMES_OPEN = 274,
  ID_GAMES_REVIEW = 275,
  ID_GAMES_DELETE = 276,
  ID_GAMES_CLOSE = 277,
  ID_GAMES_DELETE_BOX = 278,
  // The Config window and its controls.
  ID_CONFIG_WINDOW = 300,
  ID_CONFIG_LEVEL = 301,
  ID_CONFIG_THINK = 302,
  ID_CONFIG_ENGINE = 303,
  ID_CONFIG_TEST = 304,
  ID_CONFIG_SOUND = 305,
  ID_CONFIG_SHADOWS = 306,
  ID_CONFIG_TURN_CAMERA = 307,
  ID_CONFIG_OK = 308,
  ID_CONFIG_CANCEL = 309,
  ID_CONFIG_TIME_PRESET = 310,
  ID_CONFIG_TIME_CONTROL = 311,
  ID_CONFIG_INCREMENT_KIND = 312,
  ID_CONFIG_SPEECH = 313,
  ID_CONFIG_REFLECTIONS = 314,
  ID_CONFIG_THEME = 315,
  // The promotion window and its four choices, queen first.
  ID_PROMOTION_WINDOW = 220,
  ID_PROMOTE_QUEEN = 221,
  ID_PROMOTE_ROOK = 222,
  ID_PROMOTE_BISHOP = 223,
  ID_PROMOTE_KNIGHT = 224,
};
