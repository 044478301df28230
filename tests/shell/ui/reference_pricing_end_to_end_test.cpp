// Starts the real program in costing by reference, in French as a new user meets it, and
// reads the items each line is priced with: every count the line page shows reaches the
// price (fixings as fixings, luminaire clips, the luminaire boxes of a lighting study),
// no article is missing and no "not priced" message is due.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMap>
#include <QStringList>

#include <string>

#include "shell_test_support.h"
#include "support/command_output.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

struct CPricedItem {
  QString reference;
  QString designation;
  qint64 unitPrice = 0;
  qint64 quantity = 0;
  int kind = -1;
};

// The report of the script hook: "key=value" lines, and the items of line 1.
struct CPricedReport {
  QMap<QString, QString> values;
  QList<CPricedItem> items;

  const CPricedItem* Find(const QString& reference) const {
    for (const CPricedItem& item : items)
      if (item.reference == reference) return &item;
    return nullptr;
  }
};

CPricedReport ReadReport(const std::string& path) {
  CPricedReport report;
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return report;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
    const QString key = line.section('=', 0, 0), value = line.section('=', 1);
    report.values.insert(key, value);
    if (!key.startsWith(QLatin1String("item1_"))) continue;
    const QStringList fields = value.split('|');
    if (fields.size() == 5)
      report.items.push_back({fields[0], fields[1], fields[2].toLongLong(), fields[3].toLongLong(),
                              fields[4].toInt()});
  }
  return report;
}

// The line's amount in hundredths is the sum of its items' amounts, each rounded.
qint64 SumOfItems(const CPricedReport& report) {
  qint64 sum = 0;
  for (const CPricedItem& item : report.items) sum += (item.unitPrice * item.quantity + 50) / 100;
  return sum;
}

class ReferencePricingEndToEndTest : public ::testing::Test {
 protected:
  // Runs the script in French (the program's default language) and reads its report.
  CPricedReport Run(const std::string& script, const std::string& shot) {
    m_folder.Write("settings/TVR73/TVR.INI",
                   "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\n"
                   "Hlp2=1\n");
    const std::string report = m_folder.Path("report.txt");
    m_run = RunProgram(m_folder.Path(), {},
                       script + "refreport " + report + "\nshot " + TestOutputPath(shot) + "\n",
                       QStringLiteral("1400x900x24"));
    EXPECT_TRUE(m_run.finished);
    EXPECT_EQ(m_run.values.value("failed"), "") << m_run.dump.toStdString();
    EXPECT_FALSE(QImage(QString::fromStdString(TestOutputPath(shot))).isNull());
    return ReadReport(report);
  }

  // Nothing the line counts went unpriced, and every item is an article of the table.
  void ExpectEverythingPriced(const CPricedReport& report) {
    const QString dialogs = m_run.values.value("dialogs");
    EXPECT_FALSE(dialogs.contains(QStringLiteral("pas chiffr"))) << dialogs.toStdString();
    EXPECT_FALSE(dialogs.contains(QStringLiteral("MSG_"))) << dialogs.toStdString();
    for (const CPricedItem& item : report.items) {
      EXPECT_NE(item.designation, QStringLiteral(" ? ? ?")) << item.reference.toStdString();
      EXPECT_GT(item.unitPrice, 0) << item.reference.toStdString();
    }
    EXPECT_EQ(report.values.value("amount1").toLongLong(), SumOfItems(report));
  }

  CShellTestFolder m_folder;
  CProgramRun m_run;
};

TEST_F(ReferencePricingEndToEndTest, TheHangersOfAQdaLineArePricedAsFixings) {
  const CPricedReport report = Run(
      "refnew 2 3\nreftype ref_length 48\nrefbutton ref_validate\nanswer - 1\n"
      "refbutton ref_take_counts\nanswer - accept text_entry_edit=Atelier\nrefbutton ref_commit\n",
      "reference_pricing_qda.png");
  ASSERT_EQ(report.values.value("lines"), "1") << m_run.dump.toStdString();
  // 48 m at a spacing of 3 m: 17 fixings, hangers in the fixing group (kind 4).
  EXPECT_TRUE(report.values.value("components1").split(' ').contains("9:17"));
  const CPricedItem* hangers = report.Find(QStringLiteral("QDB0000YC1"));
  ASSERT_NE(hangers, nullptr) << report.values.value("components1").toStdString();
  EXPECT_EQ(hangers->quantity, 17);
  EXPECT_EQ(hangers->kind, 4);
  EXPECT_TRUE(hangers->designation.startsWith(QStringLiteral("Suspente")));
  for (const CPricedItem& item : report.items)
    EXPECT_FALSE(item.designation.startsWith(QStringLiteral("Coude")))
        << item.reference.toStdString();
  ExpectEverythingPriced(report);
}

TEST_F(ReferencePricingEndToEndTest, TheClipsAndConnectorsOfAQyaLineArePriced) {
  // QYA 25 A, 30 m, 10 luminaires: the comparison offered first is declined (No); the
  // luminaires are connected on the first connector position.
  const CPricedReport report = Run(
      "refnew 3 1\nreftype ref_length 30\nreftype ref_count 10\nanswer - 7\n"
      "refbutton ref_validate\nrefbutton ref_check_1476\nanswer - 1\n"
      "refbutton ref_take_counts\nanswer - accept text_entry_edit=Couloir\nrefbutton ref_commit\n",
      "reference_pricing_qya.png");
  ASSERT_EQ(report.values.value("lines"), "1") << m_run.dump.toStdString();
  // Two clips per luminaire, in bags of ten, under the luminaire fixing (kind 5).
  EXPECT_TRUE(report.values.value("components1").split(' ').contains("13:20"));
  const CPricedItem* clips = report.Find(QStringLiteral("QYB0000CL10"));
  ASSERT_NE(clips, nullptr) << report.values.value("components1").toStdString();
  EXPECT_EQ(clips->quantity, 2);
  EXPECT_EQ(clips->kind, 5);
  const CPricedItem* connectors = report.Find(QStringLiteral("QYB0025SE"));
  ASSERT_NE(connectors, nullptr) << report.values.value("slots1").toStdString();
  EXPECT_EQ(connectors->quantity, 10);
  EXPECT_EQ(connectors->kind, 3);
  ExpectEverythingPriced(report);
}

TEST_F(ReferencePricingEndToEndTest, TheLuminaireBoxesOfALightingStudyArePriced) {
  // A 10 x 6 m room at 300 lx with the sample batten: 3 runs of 3 luminaires that hang
  // on the line (line mode 3), one luminaire box each.
  const CPricedReport report =
      Run("answer - +1149 light_length=10 light_width=6 light_height=3\n"
          "answer - +1149 light_luminaire=Réglette_2x36_W\nanswer - +1149 light_illuminance=300\n"
          // The study's export is left at its model's choice.
          "answer - +1453\nanswer - reject\nanswer - +1149\nanswer - 1531\ncommand 33031\n"
          "answer - 7\n"
          "refbutton ref_validate\nanswer - 1\nrefbutton ref_take_counts\n"
          "answer - accept text_entry_edit=Salle\nrefbutton ref_commit\n",
          "reference_pricing_lighting.png");
  ASSERT_EQ(report.values.value("lines"), "1") << m_run.dump.toStdString();
  EXPECT_EQ(report.values.value("mode1"), "3");
  EXPECT_EQ(report.values.value("units1"), "3");
  const CPricedItem* boxes = report.Find(QStringLiteral("QYB0000BJ1"));
  ASSERT_NE(boxes, nullptr) << report.values.value("slots1").toStdString();
  EXPECT_EQ(boxes->quantity, 9);  // 3 per run, 3 runs
  EXPECT_EQ(boxes->kind, 3);
  ExpectEverythingPriced(report);
}

TEST_F(ReferencePricingEndToEndTest, TheXmlOrderFileChosenInTheFileMenuHoldsTheItemsPriced) {
  const std::string xml = m_folder.Path("documents/atelier.xml");
  const CPricedReport report = Run(
      "refnew 2 3\nreftype ref_length 48\nrefbutton ref_validate\nanswer - 1\n"
      "refbutton ref_take_counts\nanswer - accept text_entry_edit=Atelier\nrefbutton ref_commit\n"
      "enabled 32986 1\nanswer - accept fileNameEdit=" +
          xml + "\nmenu 32986\n",
      "reference_pricing_xml.png");
  ASSERT_FALSE(report.items.isEmpty()) << m_run.dump.toStdString();
  // Read back by Python's xml.etree: one order line, one item row per priced item with
  // its reference and quantity.
  const QString order = QString::fromStdString(
      CommandOutput("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/data/reference/read_order_xml.py '" +
                    xml + "' 2>&1"));
  EXPECT_TRUE(order.startsWith(QStringLiteral("SectionConfiguration"))) << order.toStdString();
  EXPECT_EQ(order.count(QStringLiteral("\nline ")), 1) << order.toStdString();
  for (const CPricedItem& item : report.items)
    EXPECT_TRUE(order.contains(
        QStringLiteral("'%1'\", \"'0'\", \"'%2'\"]").arg(item.reference).arg(item.quantity)))
        << item.reference.toStdString() << "\n"
        << order.toStdString();
  EXPECT_TRUE(order.contains(QStringLiteral("'QDB0000YC1'\", \"'0'\", \"'17'\"]")))
      << order.toStdString();
}

}  // namespace
