#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The lists of the feed unit page, worked out without a window or a document: the feed
// byte of the style word, the transformer ratings, the breaker frames and the turn.

// The top byte of a feed unit's style word: picture code (bits 24-25), connection
// option (26-27), protection (28) and turn (29-30).
struct CFeedByte {
  int picture = 0;
  int option = 0;
  int protection = 0;
  int turn = 0;

  static CFeedByte FromStyle(std::uint32_t style);
  // The byte value (0..127).
  std::uint32_t Value() const;
  // The style word with its top byte replaced.
  std::uint32_t Into(std::uint32_t style) const;
};

// One entry of a list of the page: the text shown, the value it stands for and, for the
// breaker frames, the key stored.
struct CFeedEntry {
  std::string text;
  int value = 0;
  std::string key;
};

// Transformer modes: none, a QM feed unit with breaker (variant 4), a QM variant-20 unit.
enum ETransformerMode : int { kNoTransformer = 0, kTransformerQM4 = 1, kTransformerQM20 = 2 };

// The rating code that the run's "Calibre" stands for among the transformer rows.
int TransformerRunCode(int calibre, int mode);

// The transformer rows offered ("%d KVA"): each entry's value is 0 for the row of the
// run's own rating, else its row number (1..8); the 3150 kVA row only in mode 2.
std::vector<CFeedEntry> TransformerRatings(int mode, int calibre);
// The row a stored "QWA" selects: the last whose value or row number equals it; -1.
int SelectedRating(const std::vector<CFeedEntry>& ratings, int stored);

// The breaker frames offered for the variant code (3 or 1) and connection option, with
// the suffix ("_D" or "_F"): value 1 marks the automatic key.
std::vector<CFeedEntry> BreakerFrames(int variantCode, int option, const std::string& suffix,
                                      const std::string& automaticKey);
// The entry a key selects: the first whose key begins with the current key's frame,
// else the automatic one; -1 when there is neither.
int SelectedBreaker(const std::vector<CFeedEntry>& frames, const std::string& current);

// The turn after an apply: a press of the turn button (pending 1) steps it, in
// transformer mode by two, and skips 2 for connection option 2; a new picture or
// option (pending 2) takes it back to 0.
int NextTurn(int turn, int pending, bool transformer, int option);

// The picture set of a feed unit: bit 2 the transformer picture, bit 1 the switchboard.
inline constexpr int kTransformerPicture = 2;
inline constexpr int kSwitchboardPicture = 1;
// The options that the unit's free sides allow (bit 1 option 0, 2 option 1, 4 option 2)
// from its direction and whether it has the neighbour that decides.
int FeedOptions(int direction, bool neighbourOnSide2, bool neighbourOnSide3);
// The pictures left once the options are known.
int AvailablePictures(int pictures, int options, int mode, bool packAbove);
// The picture code of an index of the picture list and back.
int PictureCodeOfIndex(int index, int pictures);
int PictureIndexOfCode(int code, int pictures);

// The text before the first occurrence of the separator (the whole text when it has
// none or has it first), and the text after it (when it has none or has it first: the
// whole text, or nothing).
std::string TextBefore(const std::string& text, char separator);
std::string TextAfter(const std::string& text, char separator, bool wholeWhenNone);
