// The two-dimensional interface on top of the board: fonts, menus, camera
// buttons, status line, banner, colour choice, dialogs, text windows, splash.
#pragma once

#include "chess/CMovesHistory.h"
#include "ui/CGameListWindow.h"
#include "ui/CPromotionWindow.h"

#include <irrlicht.h>

#include <string>

class CGUITextWindow;

// A text of paragraphs (the help) in the interface language: each paragraph,
// the lines between blank lines, is looked up as one message; the blank
// lines stay as they are.
std::string TranslateParagraphs(const std::string &text);

class CGui {
public:
  CGui() = default;
  ~CGui() = default;
  CGui(const CGui &) = delete;
  CGui &operator=(const CGui &) = delete;

  bool Init();
  void Update();
  void Draw();
  void Exit();
  bool CreateMenus();
  // Greys the game's menu items that cannot act now: Take Back, Resign, and
  // Start while a game is being played.
  void RefreshGameMenu();
  // Whether "Local Game > Start" can act now (also the test of its key).
  bool CanStartGame() const;
  irr::gui::IGUIFont *GetSmallFont() const { return smallFont; }

  // Dialogs and text windows.
  // Adds a message box over everything, left only through its own buttons.
  irr::gui::IGUIWindow *ShowMessageBox(const wchar_t *caption, const wchar_t *text, irr::s32 flags, irr::s32 id);
  void ShowQuitDialog();
  void ShowAboutDialog();
  void ShowEngineInfoDialog();
  // A box that says what is wrong with the chess engine, closed with OK.
  void ShowEngineMessage(const wchar_t *text);
  // Says the engine answered with no move it could play in the position.
  void ShowEngineNoMoveDialog();
  void ToggleHelpWindow();
  bool IsHelpWindowOpen() const { return helpWindow != nullptr; }
  void ToggleMovesWindow();
  // Brings an open moves window up to the game: a game that went on gets its
  // new moves appended; the text is replaced only for another game (loaded,
  // new, or a move taken back).
  void RefreshMovesWindow();

  // Status line, camera buttons, colour selection, banner and splash.
  bool CreateCameraButtons();
  bool IsPointerOverGui() const;
  void SetStatusText(irr::core::stringw text);
  // Shows text on the status line for durationMs; the game's own status
  // text, also one set meanwhile, comes back after it.
  void ShowStatusNotice(const wchar_t *text, irr::u32 durationMs);
  // The chess clock's faces, shown after whatever the status line says
  // ("" while no clock runs).
  void SetStatusClock(const std::string &faces);
  // The name of the game's opening, shown after the status text ("" for none).
  void SetStatusOpening(const std::string &name);
  // Whether the move box shows in the bottom-right corner: a long status
  // line stops short of it, and reaches the window's edge without it.
  void SetMoveBoxShown(bool shown);
  // Draws the status line again with what it shows (a notice included), so
  // that the band fits the text and the window.
  void RefreshStatusLine();
  void OnGameStateChanged(irr::s32 state);
  void ShowBanner(const irr::core::rect<irr::s32> &rect, const wchar_t *text, irr::video::SColor color);
  void SetBannerVisible(bool visible);
  // A line under the banner's button (what the game did to the rating);
  // shown with the banner, cleared with the next game (ResetGameDisplay).
  void ShowBannerNote(const wchar_t *text);
  void ResetGameDisplay();
  void ShowColorWindow();
  void CloseColorWindow();
  void ShowSplash(bool show);
  CPromotionWindow &GetPromotionWindow() { return promotionWindow; }
  CGameListWindow &GetGameList() { return gameList; }

  // Lays the interface out again after the window went from oldSize to the
  // current app.windowSize: the bottom-left row and the moves window follow
  // their edges, and whatever was centred stays centred. A size that calls
  // for another scale draws the whole interface at it.
  void ApplyLayout(const irr::core::dimension2d<irr::s32> &oldSize);
  // The scale the interface is drawn at (see CGuiLayout::ChooseScale).
  float GetScale() const { return scale; }

  // Read access for tests and the event routing.
  irr::gui::IGUIFont *GetLargeFont() const { return largeFont; }
  irr::gui::IGUIButton *GetCameraButton(int i) const { return cameraButtons[i]; }
  CGUITextWindow *GetHelpWindow() const { return helpWindow; }
  CGUITextWindow *GetMovesWindow() const { return movesWindow; }
  irr::gui::IGUIContextMenu *GetMenuBar() const { return menuBar; }
  irr::gui::IGUIWindow *GetColorWindow() const { return colorWindow; }
  irr::gui::IGUIStaticText *GetStatusText() const { return statusText; }
  irr::gui::IGUIStaticText *GetStatusBand() const { return statusBand; }
  irr::gui::IGUIStaticText *GetStatusExtras() const { return statusExtras; }
  irr::gui::IGUIStaticText *GetBannerText() const { return bannerText; }
  irr::gui::IGUIButton *GetBannerButton() const { return bannerButton; }
  irr::gui::IGUIStaticText *GetBannerNote() const { return bannerNote; }
  irr::video::ITexture *GetSplashTexture() const { return splashTexture; }

private:
  // Indexes of the sub-menus in the menu bar and of items in "Local Game".
  static constexpr irr::u32 MENU_PROGRAM = 0;
  static constexpr irr::u32 MENU_LOCAL_GAME = 1;
  static constexpr irr::u32 MENU_HELP = 2;
  static constexpr irr::u32 ITEM_START = 0;
  static constexpr irr::u32 ITEM_ABORT = 2;
  static constexpr irr::u32 ITEM_TAKE_BACK = 7;
  static constexpr irr::u32 ITEM_RESIGN = 8;

  // The help file as wide text, or "Helpfile not found.".
  irr::core::stringw ReadHelpText() const;
  // Brings the moves history up to the game and shows it in an open moves
  // window: the whole text, or (unless whole) only what the game added.
  void WriteMovesWindow(bool whole);

  // Sets a part shown after the status text and shows the line again.
  void SetStatusExtra(irr::core::stringw &extra, const std::string &text);
  // Loads the small and the large font of a scale and makes the small one
  // the skin's; false (and the fonts unchanged) if one is missing.
  bool LoadFonts(float newScale);
  // Sets the scale: the skin's sizes and every Px from now on.
  void SetScale(float newScale);
  // Places the banner at its home, or under an open moves window its text
  // would run into, and its button and note under it.
  void PlaceBanner();
  irr::gui::IGUIFont *smallFont = nullptr;
  irr::gui::IGUIFont *largeFont = nullptr;
  irr::gui::IGUIButton *cameraButtons[4] = {nullptr, nullptr, nullptr, nullptr};
  CGUITextWindow *helpWindow = nullptr;
  CGUITextWindow *movesWindow = nullptr;
  irr::gui::IGUIContextMenu *menuBar = nullptr;
  irr::gui::IGUIWindow *colorWindow = nullptr;
  irr::gui::IGUIStaticText *statusText = nullptr;
  irr::gui::IGUIStaticText *statusBand = nullptr;   // the dark band under statusText
  irr::gui::IGUIStaticText *statusExtras = nullptr; // the opening and the clock, after statusText
  irr::gui::IGUIStaticText *bannerText = nullptr;
  irr::gui::IGUIButton *bannerButton = nullptr;   // "Review", under the game-over banner
  irr::gui::IGUIStaticText *bannerNote = nullptr; // under the button
  irr::core::rect<irr::s32> bannerHome;           // the banner's place, moves window or not
  irr::s32 bannerRoom = 0;                        // the window's top it takes, where it is placed
  irr::core::stringw statusBase;                  // the game's status text under a notice
  irr::core::stringw statusLine;                  // the text shown now, without the opening and the clock
  irr::core::stringw statusClock;
  irr::core::stringw statusOpening;
  irr::core::stringw movesHeading; // the opening's name above the moves
  irr::u32 noticeUntil = 0;        // tick when the notice ends
  bool noticeShown = false;
  bool moveBoxShown = false;
  irr::video::ITexture *splashTexture = nullptr;
  float scale = 1.f;
  irr::s32 designSizes[irr::gui::EGDS_COUNT] = {}; // the skin's sizes at scale 1
  CPromotionWindow promotionWindow;
  CGameListWindow gameList;
  chess::CMovesHistory movesHistory; // what the moves window shows
};
