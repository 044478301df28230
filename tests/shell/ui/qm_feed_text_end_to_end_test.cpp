// Starts the real program under a virtual X server on a QM run that starts with a feed
// unit with a breaker whose connection box is set: the layout shows the box's values as
// the unit's automatic text, and the saved document keeps that text.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "model/annotation/annotation.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "sample_end_to_end_support.h"

namespace {

constexpr const char* kLayout =
    "run QMA 25\n"
    "start 4\n"
    "go 4 3000\n"
    "end 2\n";

TEST(QMFeedTextEndToEndTest, AFeedUnitShowsItsConnectionBoxValues) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string document = folder.Path("documents/qm_feed.run");
  ASSERT_EQ(WriteLaidDocument(document, kLayout,
                              [](CDorneDoc& laid) {
                                CDev& feed = *laid.GetRuns().front()->GetDevices().front();
                                feed.SetStyle(feed.GetStyle() | (1u << 24));
                                laid.AddEquipmentBox(feed, {320, 160, 400, 0, 0, 120});
                              }),
            "");
  const std::string saved = folder.Path("documents/shown.run");
  const std::string shot = TestOutputPath("qm_feed_text.png");
  std::filesystem::remove(shot);
  const CProgramRun program =
      RunProgram(folder.Path(), {},
                 "open " + document + "\ncommand " + std::to_string(kIdZoomAll) + "\nshot " + shot +
                     "\nsave " + saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  EXPECT_EQ(program.values.value("failed"), "") << program.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc shown;
    ASSERT_TRUE(shown.OnOpenDocument(saved).ok);
    const CDev* feed = nullptr;
    for (const CDev* element : shown.GetRuns().front()->GetDevices()) {
      if (element->GetKind() == CDev::kEnd && element->GetVariant() == 4) feed = element;
    }
    ASSERT_NE(feed, nullptr);
    const CAnnotationList& list = shown.Annotations();
    std::string texts;
    for (std::size_t i = 0; i < list.Size(); ++i) {
      const CAnnotation* a = list.At(i);
      if (a->GetKind() == CAnnotation::kText && a->GetOwnerElement() == feed)
        texts += a->GetText() + "|";
    }
    EXPECT_EQ(texts, "A = 160\nB = 80\nC = 120|");
  }
  ForgetSampleRanges();
}

}  // namespace
