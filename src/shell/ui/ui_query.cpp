#include "shell/ui/ui_query.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>

#include <functional>
#include <optional>

#include "grid/ui/grid_control.h"
#include "linear/ui/linear_price_view.h"
#include "model/annotation/annotation.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_outlets.h"
#include "pages/ui/prop_dialog.h"
#include "shell/ui/layout_doc_window.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/menu_hint_filter.h"
#include "shell/ui/ui_view_points.h"
#include "view/ui/bom_view.h"
#include "view/ui/child_frame.h"
#include "view/ui/dorne_view.h"
#include "view/ui/onglet_control.h"
#include "view/annotation_geometry.h"
#include "view/view_tools.h"

namespace {

QString RectText(const QRect& rect) {
  return QStringLiteral("%1 %2 %3 %4")
      .arg(rect.x())
      .arg(rect.y())
      .arg(rect.width())
      .arg(rect.height());
}

QRect ScreenRect(const QWidget& widget, const QRectF& local) {
  return QRect(widget.mapToGlobal(local.topLeft().toPoint()), local.size().toSize());
}

QString WidgetLine(const QWidget& widget) {
  return QStringLiteral("%1|%2|%3|%4")
      .arg(QString::fromLatin1(widget.metaObject()->className()), widget.objectName(),
           widget.windowTitle(), RectText(widget.frameGeometry()));
}

CDorneView* ActiveView(CMainFrame& frame) {
  CLayoutDocWindow* layout = ActiveLayout(frame);
  return layout != nullptr && layout->Frame() != nullptr ? layout->Frame()->View() : nullptr;
}

const CRun* RunNamed(const CDorneDoc& document, const QString& name) {
  for (const CRun* run : document.GetRuns())
    if (QString::fromStdString(run->GetProp("Name").value_or(std::string())) == name) return run;
  return nullptr;
}

QString RunName(const CRun* run) {
  return run != nullptr ? QString::fromStdString(run->GetProp("Name").value_or(std::string()))
                        : QString();
}

// The run's name and the element's index in it, as "A.3"; empty for none.
QString ElementName(const CDev* element) {
  const CRun* run = element != nullptr ? element->GetRun() : nullptr;
  if (run == nullptr) return {};
  const auto& devices = run->GetDevices();
  const auto at = std::find(devices.begin(), devices.end(), element);
  return QStringLiteral("%1.%2").arg(RunName(run)).arg(at - devices.begin());
}

QString PropertyWindowText(CMainFrame& frame) {
  auto* window = frame.findChild<CPropDialog*>(QStringLiteral("CPropDialog"));
  if (window == nullptr || !window->isVisible()) return QStringLiteral("hidden");
  const auto* element = dynamic_cast<const CDev*>(window->ShownObject());
  const QString shown = element != nullptr ? ElementName(element) : QStringLiteral("run");
  return QStringLiteral("%1|%2|%3")
      .arg(RectText(window->frameGeometry()), RectText(window->geometry()), shown);
}

QString StripMnemonic(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return text.section(QLatin1Char('\t'), 0, 0).simplified();
}

QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

QString DumpText(CMainFrame& frame) {
  QStringList lines;
  const auto add = [&lines](const char* key, const QString& value) {
    lines << QString::fromLatin1(key) + QLatin1Char('=') + value;
  };
  add("title", frame.windowTitle());
  add("mode", QString::number(static_cast<int>(frame.Mode())));
  add("frame", RectText(frame.frameGeometry()));
  QStringList menus;
  for (QAction* action : frame.menuBar()->actions()) menus << action->text();
  add("menus", menus.join(QLatin1Char('|')));
  QMdiSubWindow* active = frame.MdiArea()->currentSubWindow();
  add("active", active != nullptr && active->widget() != nullptr ? active->widget()->objectName()
                                                                 : QString());
  add("activetitle", active != nullptr ? active->windowTitle() : QString());
  add("status", frame.statusBar()->currentMessage());
  QWidget* modal = QApplication::activeModalWidget();
  add("modal", modal != nullptr ? WidgetLine(*modal) : QString());
  // A window takes real input once the window manager made it the active one.
  QWidget* activeWindow = QApplication::activeWindow();
  add("activewindow", activeWindow != nullptr ? WidgetLine(*activeWindow) : QString());
  QWidget* focus = QApplication::focusWidget();
  add("focus", focus != nullptr ? QString::fromLatin1(focus->metaObject()->className()) +
                                      QLatin1Char('|') + focus->objectName()
                                : QString());
  QWidget* popup = QApplication::activePopupWidget();
  add("popup", popup == nullptr         ? QString()
               : OpenPopup() != nullptr ? QStringLiteral("open|") + OpenPopup()->title()
                                        : QStringLiteral("open|list"));
  add("props", PropertyWindowText(frame));
  CLayoutDocWindow* layout = ActiveLayout(frame);
  const CDorneDoc* document = layout != nullptr ? layout->Document() : nullptr;
  if (document != nullptr) {
    QStringList runs;
    for (const CRun* run : document->GetRuns()) runs << RunName(run);
    add("runs", runs.join(QLatin1Char(',')));
    add("current", RunName(document->GetCurrentRun()));
    add("modified", layout->IsModified() ? QStringLiteral("1") : QStringLiteral("0"));
  }
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) add("window", WidgetLine(*window));
  return lines.join(QLatin1Char('\n'));
}

QString ElementsText(CMainFrame& frame, const QString& name) {
  CDorneView* view = ActiveView(frame);
  const CDorneDoc* document = view != nullptr ? view->Document() : nullptr;
  const CRun* run = document != nullptr ? RunNamed(*document, name) : nullptr;
  if (run == nullptr) return QStringLiteral("error: no run %1").arg(name);
  QStringList lines;
  for (std::size_t i = 0; i < run->GetDevices().size(); ++i) {
    const CDev& element = *run->GetDevices()[i];
    const std::optional<QRectF> rect = BoxRect(*view, run, static_cast<int>(i), CDev::kBodySlot);
    lines << QStringLiteral("%1|%2|%3|%4")
                 .arg(i)
                 .arg(element.GetKind())
                 .arg(QString::fromStdString(element.GetReference()),
                      rect ? RectText(ScreenRect(*view, *rect)) : QString());
  }
  return lines.join(QLatin1Char('\n'));
}

QString BoxText(CMainFrame& frame, const QStringList& words) {
  CDorneView* view = ActiveView(frame);
  const CDorneDoc* document = view != nullptr ? view->Document() : nullptr;
  const CRun* run = document != nullptr ? RunNamed(*document, words[1]) : nullptr;
  const std::optional<QRectF> rect =
      run != nullptr ? BoxRect(*view, run, words[2].toInt(), words[3].toInt()) : std::nullopt;
  return rect ? RectText(ScreenRect(*view, *rect)) : QStringLiteral("error: no such box");
}

QString OutletsText(CMainFrame& frame, const QStringList& words) {
  CDorneView* view = ActiveView(frame);
  const CDorneDoc* document = view != nullptr ? view->Document() : nullptr;
  const CRun* run = document != nullptr ? RunNamed(*document, words[1]) : nullptr;
  if (run == nullptr) return QStringLiteral("error: no run %1").arg(words[1]);
  // The outlets that take the unit chosen, where the tap-off tool draws them: the free
  // ones, or with "taken" those on which a unit stands.
  const bool taken = words.size() > 2 && words[2] == QLatin1String("taken");
  QStringList points;
  for (const CTapOffOutlet& outlet : TapOffOutlets(*run, RememberedTapOffChoice().record.mask)) {
    if (outlet.taken != taken) continue;
    const CPoint at = document->Projection().ProjectPoint(outlet.position);
    const QPoint screen = view->mapToGlobal(ViewPoint(*view, at).toPoint());
    points << QStringLiteral("%1 %2").arg(screen.x()).arg(screen.y());
  }
  return points.join(QLatin1Char('\n'));
}

// The screen point at a length from the insertion point along an axis, where a click
// toward that axis adds that length.
QString TowardText(CMainFrame& frame, const QStringList& words) {
  CDorneView* view = ActiveView(frame);
  const CDorneDoc* document = view != nullptr ? view->Document() : nullptr;
  if (document == nullptr) return QStringLiteral("error: no layout");
  const C3DPoint point =
      document->GetCursorPoint() + RunMoveVector(words[1].toInt(), words[2].toLongLong());
  const QPoint screen =
      view->mapToGlobal(ViewPoint(*view, document->Projection().ProjectPoint(point)).toPoint());
  return QStringLiteral("%1 %2").arg(screen.x()).arg(screen.y());
}

QString ShownText(const QWidget& widget) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
  if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) return combo->currentText();
  return {};
}

QString WidgetText(const QWidget& widget) {
  return QStringLiteral("%1|%2|%3|%4")
      .arg(RectText(QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size())),
           QString::fromLatin1(widget.metaObject()->className()),
           widget.isEnabled() ? QStringLiteral("1") : QStringLiteral("0"), ShownText(widget));
}

// Every shown widget of the modal window (or else the active one), to find names by.
QString WidgetsText() {
  QWidget* root = QApplication::activeModalWidget();
  if (root == nullptr) root = QApplication::activeWindow();
  if (root == nullptr) return {};
  QStringList lines;
  for (QWidget* widget : root->findChildren<QWidget*>())
    if (widget->isVisible()) lines << widget->objectName() + QLatin1Char('|') + WidgetText(*widget);
  return lines.join(QLatin1Char('\n'));
}

QString WidgetNamed(const QString& name) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    if (window->objectName() == name) return WidgetText(*window);
    for (QWidget* widget : window->findChildren<QWidget*>(name))
      if (widget->isVisible()) return WidgetText(*widget);
  }
  return QStringLiteral("error: no shown widget %1").arg(name);
}

// The rectangle of an item whose shown text is `text` in `root`: a widget, or a tab.
std::optional<QRect> FindTextIn(QWidget& root, const QString& text) {
  for (QWidget* widget : root.findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i)
        if (StripMnemonic(tabs->tabText(i)) == text)
          return QRect(tabs->mapToGlobal(tabs->tabRect(i).topLeft()), tabs->tabRect(i).size());
    }
    if (auto* onglets = qobject_cast<COngletControl*>(widget)) {
      for (int i = 0; i < onglets->GetItemCount(); ++i)
        if (onglets->GetItem(i)->text == text && !onglets->GetItem(i)->rect.isEmpty())
          return QRect(onglets->mapToGlobal(onglets->GetItem(i)->rect.topLeft()),
                       onglets->GetItem(i)->rect.size());
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
      // Items of lists, trees and tables, where the view shows them.
      const QModelIndexList found =
          view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text, 1,
                               Qt::MatchFixedString | Qt::MatchCaseSensitive | Qt::MatchRecursive);
      const QRect local = found.isEmpty() ? QRect() : view->visualRect(found.front());
      if (!local.isEmpty() && view->viewport()->rect().intersects(local))
        return QRect(view->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    const bool textWidget = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget);
    if (textWidget && StripMnemonic(ShownText(*widget)) == text)
      return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  }
  return std::nullopt;
}

std::optional<QRect> FindTextInMenu(QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions())
    if (action->isVisible() && !action->isSeparator() && StripMnemonic(action->text()) == text)
      return QRect(menu.mapToGlobal(menu.actionGeometry(action).topLeft()),
                   menu.actionGeometry(action).size());
  return std::nullopt;
}

QString FindText(CMainFrame& frame, const QString& text) {
  std::optional<QRect> found;
  if (QWidget* modal = QApplication::activeModalWidget()) found = FindTextIn(*modal, text);
  if (!found && OpenPopup() != nullptr) found = FindTextInMenu(*OpenPopup(), text);
  for (QWidget* window : QApplication::topLevelWidgets())
    if (!found && window->isVisible() && window != &frame) found = FindTextIn(*window, text);
  if (!found) found = FindTextIn(frame, text);
  return found ? RectText(*found) : QStringLiteral("error: no shown text %1").arg(text);
}

QString MenuText(CMainFrame& frame) {
  QStringList lines;
  // An item's fourth field: why it is grey, when it says.
  const auto add = [&lines](QWidget& owner, QAction* action, const QRect& local) {
    if (!action->isVisible() || action->isSeparator()) return;
    lines << QStringLiteral("%1|%2|%3|%4")
                 .arg(action->text(),
                      action->isEnabled() ? QStringLiteral("1") : QStringLiteral("0"),
                      RectText(QRect(owner.mapToGlobal(local.topLeft()), local.size())),
                      CMenuHintFilter::Hint(*action));
  };
  if (QMenu* popup = OpenPopup()) {
    for (QAction* action : popup->actions()) add(*popup, action, popup->actionGeometry(action));
  } else if (QWidget* list = QApplication::activePopupWidget()) {
    // A combo box's open list.
    auto* view = list->findChild<QAbstractItemView*>();
    for (int row = 0; view != nullptr && row < view->model()->rowCount(); ++row) {
      const QModelIndex index = view->model()->index(row, 0);
      const QRect local = view->visualRect(index);
      lines << QStringLiteral("%1|%2|%3")
                   .arg(index.data().toString(),
                        (index.flags() & Qt::ItemIsEnabled) ? QStringLiteral("1")
                                                            : QStringLiteral("0"),
                        RectText(
                            QRect(view->viewport()->mapToGlobal(local.topLeft()), local.size())));
    }
  } else {
    QMenuBar& bar = *frame.menuBar();
    for (QAction* action : bar.actions()) add(bar, action, bar.actionGeometry(action));
  }
  return lines.join(QLatin1Char('\n'));
}

QString BillText(CMainFrame& frame) {
  CLayoutDocWindow* layout = ActiveLayout(frame);
  auto* bom = layout != nullptr ? layout->findChild<CBOMView*>() : nullptr;
  if (bom == nullptr) return QStringLiteral("error: no bill shown");
  QStringList lines;
  COngletControl& tabs = bom->GetTabs();
  for (int i = 0; i < tabs.GetItemCount(); ++i)
    lines << QStringLiteral("tab|%1|%2|%3")
                 .arg(i)
                 .arg(tabs.GetItem(i)->text,
                      i == tabs.GetCurSel() ? QStringLiteral("*") : QString());
  CGridControl* grid = bom->GetGridWindow();
  if (grid == nullptr) return lines.join(QLatin1Char('\n'));
  const CGridModel& model = grid->GetModel();
  for (int row = 0; row < model.GetRowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < model.GetColumnCount(); ++column) {
      const CGridCellFormat* cell = model.GetTextCell(row, column);
      cells << (cell != nullptr ? QString::fromStdString(cell->GetText()) : QString());
    }
    lines << QStringLiteral("row|") + cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n'));
}

// The cells of a shown list, tree or table, a row a line, tab-separated; a tree's
// children follow their parent, indented by a tab a level.
void AddRows(const QAbstractItemModel& model, const QModelIndex& parent, int depth,
             QStringList& lines) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    QStringList cells;
    for (int column = 0; column < model.columnCount(parent); ++column) {
      const QModelIndex index = model.index(row, column, parent);
      // A picture without text is named by what it tells a screen reader.
      const QString shown = index.data().toString();
      cells << (shown.isEmpty() ? index.data(Qt::AccessibleTextRole).toString() : shown);
    }
    lines << QString(depth, QLatin1Char('\t')) + cells.join(QLatin1Char('\t'));
    AddRows(model, model.index(row, 0, parent), depth + 1, lines);
  }
}

// A linear price table as painted: its heading row, then its rows, the shown columns.
QString PriceViewText(const CLinearPriceView& view) {
  QStringList lines;
  for (const CLinearPriceView::RowCells& row : view.Rows()) {
    QStringList cells;
    for (std::size_t column = 0; column < row.size(); ++column)
      if (view.ColumnsShown()[column]) cells << row[column].text;
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n'));
}

QString CellsText(const QString& name) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    for (auto* view : window->findChildren<CLinearPriceView*>(name))
      if (view->isVisible()) return PriceViewText(*view);
    for (auto* view : window->findChildren<QAbstractItemView*>(name)) {
      if (!view->isVisible() || view->model() == nullptr) continue;
      QStringList lines;
      AddRows(*view->model(), QModelIndex(), 0, lines);
      return lines.join(QLatin1Char('\n'));
    }
  }
  return QStringLiteral("error: no shown list %1").arg(name);
}

// A run's bill lines as its page numbers them: item number | reference.
QString LinesText(CMainFrame& frame, const QString& name) {
  CDorneView* view = ActiveView(frame);
  const CDorneDoc* document = view != nullptr ? view->Document() : nullptr;
  const CRun* run = document != nullptr ? RunNamed(*document, name) : nullptr;
  if (run == nullptr) return QStringLiteral("error: no run %1").arg(name);
  const CBOMGrid& grid = run->GetBOM();
  QStringList lines;
  for (int row = 1; row < grid.GetLineCount(); ++row)
    lines << QStringLiteral("%1|%2").arg(
        QString::fromStdString(grid.GetLineFieldText(row, kBOMFieldItem).value_or("")),
        QString::fromStdString(grid.GetLine(row)->reference));
  return lines.join(QLatin1Char('\n'));
}

QString LabelsText(CMainFrame& frame) {
  CDorneView* view = ActiveView(frame);
  const CDorneDoc* document = view != nullptr ? view->Document() : nullptr;
  if (document == nullptr) return QStringLiteral("error: no layout");
  QStringList lines;
  const CAnnotationList& list = document->Annotations();
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const CAnnotation& annotation = *list.At(i);
    const CAnnotationPlaces::CPlace* place = view->LabelPlaces().Find(annotation);
    const QString owner = annotation.GetOwnerElement() != nullptr
                              ? ElementName(annotation.GetOwnerElement())
                              : RunName(annotation.GetOwnerRun());
    const QRect drawn = place != nullptr ? QRect(place->screen.left, place->screen.top,
                                                 place->screen.right - place->screen.left,
                                                 place->screen.bottom - place->screen.top)
                                         : QRect();
    lines << QStringLiteral("%1|%2|%3|%4")
                 .arg(annotation.GetKind())
                 .arg(QString::fromStdString(
                          AnnotationDisplayText(annotation, document->GetUnits(), true))
                          .replace(QLatin1Char('\n'), QStringLiteral("\\n")),
                      owner,
                      place != nullptr ? RectText(ScreenRect(*view, QRectF(drawn))) : QString());
  }
  return lines.join(QLatin1Char('\n'));
}

QString Answer(CMainFrame& frame, const QString& query) {
  const QStringList words = query.simplified().split(QLatin1Char(' '));
  const QString& verb = words.front();
  if (verb == QLatin1String("dump")) return DumpText(frame);
  if (verb == QLatin1String("elements") && words.size() == 2) return ElementsText(frame, words[1]);
  if (verb == QLatin1String("box") && words.size() == 4) return BoxText(frame, words);
  if (verb == QLatin1String("toward") && words.size() == 3) return TowardText(frame, words);
  if (verb == QLatin1String("outlets") && words.size() >= 2) return OutletsText(frame, words);
  if (verb == QLatin1String("widget") && words.size() == 2) return WidgetNamed(words[1]);
  if (verb == QLatin1String("widgets")) return WidgetsText();
  if (verb == QLatin1String("text") && words.size() >= 2)
    return FindText(frame, query.simplified().section(QLatin1Char(' '), 1));
  if (verb == QLatin1String("menu")) return MenuText(frame);
  if (verb == QLatin1String("bill")) return BillText(frame);
  if (verb == QLatin1String("cells") && words.size() == 2) return CellsText(words[1]);
  if (verb == QLatin1String("labels")) return LabelsText(frame);
  if (verb == QLatin1String("lines") && words.size() == 2) return LinesText(frame, words[1]);
  return QStringLiteral("error: unknown query %1").arg(query);
}

}  // namespace

QString WindowDumpText(CMainFrame& frame) { return DumpText(frame); }

void StartUiQueryServer(CMainFrame& frame) {
  const QString path = qEnvironmentVariable("TVR_QUERY_SOCKET");
  if (path.isEmpty()) return;
  auto* server = new QLocalServer(&frame);
  QLocalServer::removeServer(path);
  if (!server->listen(path)) return;
  QObject::connect(server, &QLocalServer::newConnection, server, [server, &frame] {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, &frame] {
        if (!socket->canReadLine()) return;
        const QString query = QString::fromUtf8(socket->readLine()).trimmed();
        socket->write(Answer(frame, query).toUtf8() + "\n");
        socket->disconnectFromServer();
      });
    }
  });
}
