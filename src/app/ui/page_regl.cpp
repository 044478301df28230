#include "app/ui/page_regl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/options_values.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 2602;
constexpr int kMsgZoomGroup = 2603;
constexpr int kMsgZoomAll = 2604;
constexpr int kMsgZoomIn = 2605;
constexpr int kMsgZoomOut = 2606;
constexpr int kMsgMoveGroup = 2607;
constexpr int kMsgMoveLeft = 2608;
constexpr int kMsgMoveRight = 2609;
constexpr int kMsgMoveUp = 2610;
constexpr int kMsgMoveDown = 2611;
constexpr int kMsgDefaults = 2612;
constexpr int kPercentDigits = 3;  // up to 200

struct Factor {
  int edit;
  int label;
  int message;
  int COptionsPercents::*member;
};

// In the order the page checks them.
constexpr Factor kZooms[] = {
    {CPageRegl::kZoomOut, 1096, kMsgZoomOut, &COptionsPercents::zoomOut},
    {CPageRegl::kZoomIn, 1095, kMsgZoomIn, &COptionsPercents::zoomIn},
    {CPageRegl::kZoomAll, 1071, kMsgZoomAll, &COptionsPercents::zoomAll},
};
constexpr Factor kMoves[] = {
    {CPageRegl::kMoveDown, 1100, kMsgMoveDown, &COptionsPercents::moveDown},
    {CPageRegl::kMoveRight, 1098, kMsgMoveRight, &COptionsPercents::moveRight},
    {CPageRegl::kMoveLeft, 1097, kMsgMoveLeft, &COptionsPercents::moveLeft},
    {CPageRegl::kMoveUp, 1099, kMsgMoveUp, &COptionsPercents::moveUp},
};

// Moves first, then zooms, while action answers true.
template <typename Action>
bool ForEachFactor(Action&& action) {
  for (const Factor& factor : kMoves)
    if (!action(factor)) return false;
  for (const Factor& factor : kZooms)
    if (!action(factor)) return false;
  return true;
}

}  // namespace

CPageRegl::CPageRegl(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QVBoxLayout(this);
  auto addGroup = [this, layout](int id, int message, const auto& factors) {
    auto* group = new QGroupBox(this);
    group->setObjectName(QString::number(id));
    SetMessageText(group, message);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Factor& factor : factors) {
      grid->addWidget(AddLabel(factor.label, factor.message), row, 0);
      grid->addWidget(AddNumberEdit(factor.edit, kPercentDigits), row++, 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(1, 1);
    layout->addWidget(group);
  };
  addGroup(1070, kMsgZoomGroup, kZooms);
  addGroup(1069, kMsgMoveGroup, kMoves);
  layout->addStretch(1);
  layout->addWidget(AddDefaultsButton(kMsgDefaults), 0, Qt::AlignRight);
}

void CPageRegl::Load(const COptionsValues& values) { ShowPercents(values.percents); }

bool CPageRegl::Save(COptionsValues& values) {
  return ForEachFactor([this, &values](const Factor& factor) {
    return ReadNumber(Control<QLineEdit>(factor.edit), kPercentRange,
                      values.percents.*factor.member);
  });
}

void CPageRegl::ShowPercents(const COptionsPercents& percents) {
  ForEachFactor([this, &percents](const Factor& factor) {
    Control<QLineEdit>(factor.edit)->setText(QString::number(percents.*factor.member));
    return true;
  });
}

void CPageRegl::ResetDefaults() { ShowPercents(COptionsPercents{}); }
