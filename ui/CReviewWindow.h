// The review window: how far the engine's analysis has come (with Cancel),
// the evaluation graph, each side's accuracy and marks, the better move at a
// marked move, and the list of moves with their marks and evaluations. Row 0
// of the list is the start position, row i the position after ply i, so a
// row, a point of the graph and a position of the game share one number.
#pragma once

#include "chess/CGameAnalysis.h"

#include <irrlicht.h>

#include <cstddef>
#include <string>

class CReviewWindow {
public:
  static constexpr irr::s32 WIDTH = 300;
  static constexpr irr::s32 GRAPH_WIDTH = 280;
  static constexpr irr::s32 GRAPH_HEIGHT = 100;

  // Opens the window at the right edge of the screen for a game (replacing
  // one that is open); every move listed, nothing judged yet.
  void Open(const std::wstring &caption, const chess::CGameAnalysis &analysis);
  void Close();
  bool IsOpen() const { return window != nullptr; }

  // The progress line and bar: judged of total positions, with a text such
  // as "Analysing: 12 of 61 positions" or "Analysis cancelled".
  void ShowProgress(std::size_t judged, std::size_t total, const std::wstring &text);
  // Cancel can act only while the analysis runs; Save once it is done.
  void SetRunning(bool running, bool reviewed);
  // Brings graph, list rows and (with a review) the accuracy lines up to the
  // findings so far.
  void ShowFindings(const chess::CGameAnalysis &analysis, const chess::GameReview *review);
  // Marks the position looked at: its list row, the graph's marker, and the
  // text under the graph (the move and, at a marked move, the better one).
  void ShowPosition(std::size_t position, const std::wstring &text);

  // The position of the graph's point under a screen point, if it is over the graph.
  bool GraphHit(const irr::core::position2d<irr::s32> &point, std::size_t &position) const;
  // The text of list row for ply (0-based): "3... Nf6??  #1".
  static std::wstring RowText(const chess::CGameAnalysis &analysis, const chess::GameReview *review, std::size_t ply);
  // "White: accuracy 81.3, 0 inaccuracies, 0 mistakes, 1 blunder".
  static std::wstring SideText(const chess::SideSummary &side, bool white);

  irr::gui::IGUIWindow *GetWindow() const { return window; }
  irr::gui::IGUIListBox *GetList() const { return list; }
  irr::gui::IGUIStaticText *GetSummary() const { return summary; }
  irr::gui::IGUIStaticText *GetMoveText() const { return moveText; }
  irr::gui::IGUIStaticText *GetProgressText() const { return progressText; }
  irr::gui::IGUIImage *GetGraph() const { return graph; }
  irr::gui::IGUIButton *GetCancelButton() const { return cancelButton; }
  irr::gui::IGUIButton *GetSaveButton() const { return saveButton; }

private:
  // Replaces the graph's picture; the old texture leaves the driver.
  void SetGraphPicture(irr::video::IImage *image);

  irr::gui::IGUIWindow *window = nullptr;
  irr::gui::IGUIStaticText *progressText = nullptr;
  irr::gui::IGUIStaticText *progressFill = nullptr;
  irr::gui::IGUIImage *graph = nullptr;
  irr::gui::IGUIStaticText *graphMarker = nullptr;
  irr::gui::IGUIStaticText *summary = nullptr;
  irr::gui::IGUIStaticText *moveText = nullptr;
  irr::gui::IGUIListBox *list = nullptr;
  irr::gui::IGUIButton *cancelButton = nullptr;
  irr::gui::IGUIButton *saveButton = nullptr;
  irr::video::ITexture *graphTexture = nullptr;
  std::size_t positions = 0;
  unsigned pictureCount = 0; // names each graph texture apart
};
