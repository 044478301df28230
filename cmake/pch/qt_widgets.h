// Headers of Qt and the standard library that most window sources include; compiled
// once per target instead of once per source.
#pragma once

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>
