#include "shell/ui_script.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "shell/layout_doc_window.h"
#include "shell/main_frame.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "view/draw_mapping.h"
#include "view/ui/child_frame.h"
#include "view/view_tools.h"

namespace {

CLayoutDocWindow* ActiveLayout(CMainFrame& frame) {
  QMdiSubWindow* active = frame.MdiArea()->currentSubWindow();
  return active != nullptr ? dynamic_cast<CLayoutDocWindow*>(active->widget()) : nullptr;
}

bool ClickToward(CDorneView& view, int axis, double length) {
  const CDorneDoc* document = view.Document();
  if (document == nullptr) return false;
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const C3DPoint point = document->GetCursorPoint() + RunMoveVector(axis, length);
  const CPoint device = mapping.ToDevice(document->Projection().ProjectPoint(point));
  const QPointF local(device.x, device.y);
  const QPointF global = view.mapToGlobal(local);
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&view, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&view, &release);
  return true;
}

bool PressKey(CDorneView& view, const QString& name) {
  const int key = name == QLatin1String("return")   ? Qt::Key_Return
                  : name == QLatin1String("escape") ? Qt::Key_Escape
                                                    : 0;
  if (key == 0) return false;
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
  return true;
}

bool RunLine(CMainFrame& frame, const QStringList& words) {
  const QString& verb = words.front();
  if (verb == QLatin1String("command") && words.size() == 2)
    return frame.RouteCommand(words[1].toInt());
  if (verb == QLatin1String("shot") && words.size() == 2) return frame.grab().save(words[1]);
  if (verb == QLatin1String("open") && words.size() == 2) {
    QString path = words[1];
    return frame.OpenAnyFile(path) != nullptr;
  }
  CLayoutDocWindow* layout = ActiveLayout(frame);
  if (layout == nullptr) return false;
  CDorneView& view = *layout->Frame()->View();
  if (verb == QLatin1String("toward") && words.size() == 3)
    return ClickToward(view, words[1].toInt(), words[2].toDouble());
  if (verb == QLatin1String("key") && words.size() == 2) return PressKey(view, words[1]);
  std::string error;
  if (verb == QLatin1String("save") && words.size() == 2)
    return layout->SaveToFile(words[1].toStdString(), error);
  return false;
}

}  // namespace

QStringList RunUiScript(CMainFrame& frame, const QString& path) {
  QStringList failed;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {path};
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
    const QStringList words = line.simplified().split(' ');
    QApplication::processEvents();
    if (!RunLine(frame, words)) failed << line;
  }
  return failed;
}

QString ActiveLayoutSummary(CMainFrame& frame) {
  const CLayoutDocWindow* layout = ActiveLayout(frame);
  const CDorneDoc* document = layout != nullptr ? layout->Document() : nullptr;
  if (document == nullptr || document->GetCurrentRun() == nullptr) return {};
  return QStringLiteral("%1/%2")
      .arg(document->GetRunCount())
      .arg(document->GetCurrentRun()->GetDevices().size());
}
