#pragma once

#include <QBrush>
#include <QPixmap>
#include <QTreeWidget>

#include <optional>
#include <vector>

class QTreeWidgetItem;

// A tree that draws its items, connecting lines, expand boxes and images itself, in the
// language font when the translator holds one. Images come from one image list by the
// index each item carries; indexes 0 and 1 are toggles that show the item's state (see
// TreeItemImage). In a tree without buttons a click on an item's image expands or
// collapses it. One column; items are QTreeWidgetItems.
class CDrawTreeCtrl : public QTreeWidget {
  Q_OBJECT

 public:
  // The item data roles of the image and the selected image indexes.
  static constexpr int kImageRole = Qt::UserRole + 100;
  static constexpr int kSelectedImageRole = Qt::UserRole + 101;

  explicit CDrawTreeCtrl(QWidget* parent = nullptr);

  static void SetItemImages(QTreeWidgetItem* item, int image, int selectedImage);

  // The image list; an index outside it draws no image.
  void SetImageList(std::vector<QPixmap> images);
  void SetHasLines(bool on);
  void SetHasButtons(bool on);
  bool HasLines() const { return m_hasLines; }
  bool HasButtons() const { return m_hasButtons; }
  // The brush behind the items; none means white.
  void SetBackgroundBrush(std::optional<QBrush> brush);

  // The image index the item shows now.
  int ShownImage(QTreeWidgetItem* item) const;
  // The rectangle of the item's text in viewport coordinates (empty when not shown).
  QRect TextRect(QTreeWidgetItem* item) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QFont ItemFont() const;
  void PaintItem(QPainter& painter, QTreeWidgetItem* item, bool focused) const;
  void PaintLines(QPainter& painter, QTreeWidgetItem* item) const;
  void PaintExpandBoxes(QPainter& painter, QTreeWidgetItem* item, int x) const;
  bool ToggleOnImage(const QPoint& point);

  std::vector<QPixmap> m_images;
  std::optional<QBrush> m_background;
  bool m_hasLines = true;
  bool m_hasButtons = true;
};
