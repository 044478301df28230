#pragma once

#include <QListWidget>
#include <QPixmap>

#include <vector>

// A list whose items are bitmaps, item i showing bitmap i, with white as the
// transparent colour (it takes the colour behind the item: the window colour, or the
// highlight colour of a selected item). Every bitmap list of the program has one item
// height: the larger of its parent's text height and the first bitmap's height, taken
// at the first list that measures its items.
class CDrawListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CDrawListBox(QWidget* parent = nullptr);

  // The bitmaps, given before the items are drawn; an item without one stays empty.
  void SetBitmaps(const std::vector<QPixmap>& bitmaps);
  // The bitmap of the item with white made transparent; null when there is none.
  QPixmap ItemBitmap(int row) const;

  // The shared item height, computed on the first call.
  int ItemHeight() const;
  // Forgets the shared height (tests).
  static void ResetSharedItemHeight();

 private:
  std::vector<QPixmap> m_bitmaps;
};
