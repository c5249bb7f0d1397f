// The Games window (Program > Games..., key G): the games library as a table
// (date, colour, opponent, result, opening; newest first), the result and
// level filters, the player's rating over the rated games as a graph, the
// score against each level, and the buttons Open, Review, Delete and Close.
// The window only shows what it is given; CGamesBrowser reads the library
// and acts on the buttons.
#pragma once

#include <irrlicht.h>

#include <cstddef>
#include <string>
#include <vector>

// One row of the table, as it is shown.
struct GamesRow {
  std::wstring date, colour, opponent, result, opening;
};

class CGamesWindow {
public:
  static constexpr irr::s32 GRAPH_WIDTH = 300;
  static constexpr irr::s32 GRAPH_HEIGHT = 112;
  // The choices of the two filters, in order: "All results", "Wins",
  // "Losses", "Draws"; "All levels", then level 1 to 8.
  static constexpr int RESULT_CHOICES = 4;
  static constexpr int LEVEL_CHOICES = 9;

  // Opens the window over the middle of the screen, modal, sized to fit it
  // (from 800 x 600 up), the filters showing the given choices.
  void Open(int resultChoice, int levelChoice);
  void Close();
  bool IsOpen() const { return window != nullptr; }

  // The rows the table gets at once; the others follow a frame at a time
  // (ROWS_A_FRAME each), so that a library of thousands of games opens
  // without a wait. Irrlicht's table measures every cell's text as it is set.
  static constexpr std::size_t FIRST_ROWS = 200;
  static constexpr std::size_t ROWS_A_FRAME = 500;

  // Lists rows[i] for each i of shown, in that order (rows must stay as
  // they are until the next call), and says how many games there are ("12
  // of 40 games"). The first rows are in the table at once, see FIRST_ROWS.
  void ShowRows(const std::vector<GamesRow> &rows, const std::vector<std::size_t> &shown, std::size_t total);
  // Puts up to count more of the rows listed into the table; false when
  // there were none left.
  bool FillMore(std::size_t count);
  bool IsFilled() const { return filled >= pendingShown.size(); }
  // The selected row (-1 for none; a row not yet in the table is put there
  // first); Open, Review and Delete act only on one.
  void SelectRow(irr::s32 row);
  irr::s32 GetSelectedRow() const;
  // The rating graph and the line above it ("Rating 1523 after 12 rated
  // games"); an empty series shows an empty graph saying "No rated games yet".
  void ShowRatings(const std::vector<double> &ratings, const std::vector<double> &levelRatings);
  // One line a level ("Level 3 Casual: 4 games, +2 =1 -1, 62%").
  void ShowScores(const std::vector<std::wstring> &lines);

  int GetResultChoice() const;
  int GetLevelChoice() const;

  irr::gui::IGUIWindow *GetWindow() const { return window; }
  irr::gui::IGUITable *GetTable() const { return table; }
  irr::gui::IGUIComboBox *GetResultBox() const { return resultBox; }
  irr::gui::IGUIComboBox *GetLevelBox() const { return levelBox; }
  irr::gui::IGUIStaticText *GetCountText() const { return countText; }
  irr::gui::IGUIStaticText *GetRatingText() const { return ratingText; }
  irr::gui::IGUIStaticText *GetNoRatingText() const { return noRatingText; }
  irr::gui::IGUIStaticText *GetScoresText() const { return scoresText; }
  irr::gui::IGUIImage *GetGraph() const { return graph; }
  irr::gui::IGUIButton *GetButton(irr::s32 id) const;

private:
  void EnableActions();
  void SetGraphPicture(irr::video::IImage *image);

  irr::gui::IGUIWindow *window = nullptr;
  irr::gui::IGUITable *table = nullptr;
  irr::gui::IGUIComboBox *resultBox = nullptr;
  irr::gui::IGUIComboBox *levelBox = nullptr;
  irr::gui::IGUIStaticText *countText = nullptr;
  irr::gui::IGUIStaticText *ratingText = nullptr;
  irr::gui::IGUIStaticText *noRatingText = nullptr;
  irr::gui::IGUIStaticText *scoresTitle = nullptr;
  irr::gui::IGUIStaticText *scoresText = nullptr;
  irr::gui::IGUIImage *graph = nullptr;
  irr::gui::IGUIButton *openButton = nullptr;
  irr::gui::IGUIButton *reviewButton = nullptr;
  irr::gui::IGUIButton *deleteButton = nullptr;
  irr::gui::IGUIButton *closeButton = nullptr;
  irr::video::ITexture *graphTexture = nullptr;
  unsigned pictureCount = 0; // names each graph texture apart
  const std::vector<GamesRow> *pendingRows = nullptr;
  std::vector<std::size_t> pendingShown; // the rows listed, by index into *pendingRows
  std::size_t filled = 0;                // ... of which the table holds this many
};
