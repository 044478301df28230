// The sample catalogue prices what the program makes: every shipped sample document and
// a new run of every range at every rating its rating page offers, laid out with the
// usual pieces and a unit of every row the tap-off dialog offers for the range, find
// each bill line's article with a price, a designation in both languages, a labour time
// and a weight.

#include "export/part_number_link.h"
#include "export/price_update.h"
#include "geometry/box.h"
#include "linear/ref_coff_table.h"
#include "linear/tap_off_dialog_rules.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/element/box_point_source.h"
#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/run/run_factory.h"
#include "model/run/run_range_rules.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_place.h"
#include "model/tapoff/tap_off_position.h"
#include "platform/text_conversions.h"
#include "ranges/range_test_support.h"
#include "samplewriter/sample_layout.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The start and end variants that lay the usual feed unit and end piece of a range,
// what the feed unit needs besides, and the pieces of the usual run that the range's
// rules make no part for (the bill names them by the range's text for their kind).
struct CUsualEnds {
  const char* code;
  int start;
  int end;
  const char* extra = "";
  bool teeOffered = true;
  bool edgewiseElbowOffered = true;  // false: only as a pair on the flat, never turning up
  bool teeOnEdge = false;            // the tee's branch leaves upwards, not on the flat
};

constexpr CUsualEnds kRanges[] = {
    // Tees of range QM are edgewise ones: a flat tee is no part of the range.
    {"QMA", 20, 1, "style 2000000\n", false},
    {"QMC", 20, 1, "style 2000000\n", false},
    // Its edgewise tee: the branch leaves upwards.
    {"QMA", 20, 1, "style 2000000\n", true, true, true},
    {"QMC", 20, 1, "style 2000000\n", true, true, true},
    {"QGA", 0, 4},
    {"QGC", 0, 4},
    {"QJF", 3, 1, "entrax 1\n"},
    {"QPA", 0, 6},
    // The copper upper-case line makes no tee.
    {"QPC", 0, 6, "", false},
    {"Qpa", 0, 6},
    {"Qpc", 0, 6},
    {"QWA", 0, 1},
    {"QWC", 0, 1},
    {"QDA", 0, 3, "", false, false},
    {"QDT", 0, 3, "", false, false},
};

// A feed unit, a long line cut into pieces, flat elbows both ways, an elbow turning up, the
// end piece at the far end and a tee whose branch ends so too: a flat tee, or one on
// edge whose branch goes up while the line goes on ahead.
std::string UsualRun(const CUsualEnds& range, const std::string& rating) {
  const std::string start = std::to_string(range.start);
  const std::string end = "\nend " + std::to_string(range.end) + "\n";
  const std::string head =
      "run " + std::string(range.code) + " " + rating + "\nstart " + start + "\n" + range.extra;
  if (range.teeOnEdge)
    return head + "go 4 7600\ngo 2 2400" + end + "from 1\ngo 4 2400\ngo 5 3000\ngo 2 2600\n" +
           "go 4 2200\ngo 1 2000" + end;
  return head + "go 4 7600\ngo 5 2400\ngo 4 3000\ngo 2 2600\ngo 4 2200\ngo 1 2000" + end +
         "from 1\ngo 1 2000" + end;
}

// Outlets for any unit on every joint box, where the program's drawing gives each joint
// the outlets of its layout: far apart and above the line, so that the units placed meet
// neither one another nor a joint.
class CEveryOutlet : public CBoxPointSource {
 public:
  C3DPoint ConnectionCode(const CBox& box, int point, int) override {
    constexpr double kEveryKind = 0xFFFF * 256.0;
    constexpr double kAboveTheLine = (2 * 16 + 4) * 16 + 5;  // out of +Z, across x and y
    if (point >= 10) return C3DPoint(10, kEveryKind, kAboveTheLine);
    return box.GetOrigin() + C3DPoint(1500.0 * point, 0, 3000);
  }
  C3DPoint SupportPoint(const CBox&, int, int) override { return {}; }
};

class SampleCataloguePricingTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    ConnectRunsAsTheStartUpDoes();
    CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
    // The device names of the sample catalogue name the pieces a range makes no part for.
    const TextLookup lookup = [](int number) { return "T" + std::to_string(number); };
    CRangeContext::Instance().SetDevices(LoadDeviceList(TVR_PROGRAM_DIR "/DBF/", lookup).entries);
  }
  void TearDown() override {
    m_document.reset();  // the runs go before the range tables they lease
    CRunEnvironment::Instance().SetBoxPoints(nullptr);
    ResetRememberedTapOffChoice();
    RangeTest::TearDown();
  }

  // Builds the document's runs and places on their joints one unit of every row that the
  // tap-off dialog offers for the run's code, as a user chooses and places them.
  void PlaceEveryOfferedTapOffUnit(const std::string& what) {
    CRunEnvironment::Instance().SetBoxPoints(&m_outlets);
    CRefCoffTable table;
    ASSERT_TRUE(table.Load(TVR_PROGRAM_DIR "/DBF/", false));
    for (CRun* run : m_document->GetRuns()) {
      ASSERT_EQ(run->RebuildParts(0), 1) << what;
      std::vector<CDev*> joints;
      for (CDev* element : run->GetDevices())
        if (element->GetKind() == CDev::kJoint && element->IsActive() &&
            element->GetBox(element->GetBackFace()) != nullptr)
          joints.push_back(element);
      CTapOffDialogRules rules;
      rules.Load(table, run->GetPropText("Catalog"));
      for (int row = 0; row < static_cast<int>(rules.Rows().size()); ++row) {
        rules.Accept(row, false);
        bool placed = false;
        for (int point = 10; point < 20 && !placed; ++point)
          for (std::size_t j = 0; j < joints.size() && !placed; ++j)
            placed = PlaceTapOffUnit(*joints[(j + static_cast<std::size_t>(row)) % joints.size()],
                                     point, nullptr, true) == 1;
        EXPECT_TRUE(placed) << what << ": " << rules.Rows()[static_cast<std::size_t>(row)].texts[0];
        m_units += placed ? 1 : 0;
      }
    }
  }

  // Prices the document; each article found missing goes to m_unpriced with the name of
  // what made it (`what`), and each line priced without a full article fails the test.
  // `unoffered` counts the pieces the range makes no part for, by the text the bill names
  // them with: the bill must hold exactly so many of each, unpriced.
  void PriceAndCheck(const std::string& what,
                     const std::map<std::string, std::int64_t>& unoffered = {}) {
    CPartNumberSettings settings;
    settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
    CPartNumberLink link;
    ASSERT_TRUE(link.Init(settings));
    const CPriceUpdateReport report = UpdatePrices(*m_document, link, {});
    EXPECT_TRUE(report.tableOpened) << what;
    for (const std::string& problem : report.problems) ADD_FAILURE() << what << ": " << problem;
    std::set<std::string> expectedMissing;
    for (const auto& [reference, count] : unoffered)
      expectedMissing.insert(MissingArticleName(reference, ""));
    for (const std::string& missing : report.missing)
      if (expectedMissing.count(missing) == 0) m_unpriced.emplace(missing, what);
    std::map<std::string, std::int64_t> held;
    for (CRun* run : m_document->GetRuns()) CheckLines(what, *run, unoffered, held);
    EXPECT_EQ(held, unoffered) << what << ": the pieces without a part";
  }

  // The pieces of the usual run that the range makes no part for, each with how many the
  // bill must hold of it: they keep the range's text for their kind, no made-up reference,
  // and that text names the piece (no "unknown piece" fallback). Every usual run holds a
  // tee and elbows turning up and back.
  std::map<std::string, std::int64_t> UnofferedPieces(const CUsualEnds& range,
                                                      const std::string& what) {
    std::map<std::string, std::int64_t> pieces;
    int tees = 0;
    for (CRun* run : m_document->GetRuns()) {
      const std::string teeText = run->GetKindText(CDev::kJunction2, 0);
      const std::string elbowText = run->GetKindText(CDev::kElbow, 0);
      std::set<const CDev*> seen;
      CElementIterator walk = run->IterateElements(false);
      while (CDev* element = walk.Next())
        if (element->GetKind() == CDev::kJunction2 && seen.insert(element).second) ++tees;
      if (!range.teeOffered) pieces[teeText] += tees;
      // The line turns up and back: two elbows on edge, neither in a pair the range makes.
      if (!range.edgewiseElbowOffered) pieces[elbowText] += 2;
    }
    EXPECT_EQ(tees, 1) << what;
    for (const auto& [text, count] : pieces)
      EXPECT_EQ(text.find(" #["), std::string::npos) << what << ": " << text << " names no piece";
    return pieces;
  }

  void CheckLines(const std::string& what, CRun& run,
                  const std::map<std::string, std::int64_t>& unoffered,
                  std::map<std::string, std::int64_t>& held) {
    CBOMGrid& grid = run.GetBOM();
    for (int row = 1; row < grid.GetLineCount(); ++row) {
      const std::string reference = grid.GetLine(row)->reference;
      if (reference.find_first_not_of(' ') == std::string::npos) continue;
      if (unoffered.count(reference) != 0) {
        held[reference] += grid.GetLineQuantity(row);
        continue;
      }
      if (m_unpriced.count(MissingArticleName(reference, "")) != 0) continue;
      const std::string lookup = PriceLookupText(reference, "");
      // What the price update kept of the article; the weight is checked on the
      // article itself, since not every range shows it on its lines.
      auto kept = [&](const char* name) {
        return run.GetDevicePropByRef(reference, name).value_or("");
      };
      const double price =
          TextToDouble(grid.GetLineFieldText(row, kBOMKindUnitPrice).value_or("0"));
      const bool priced = price > 0 && TextToDouble(kept("HBv2_Std_Labor")) > 0 &&
                          !kept("HBv2_Designation").empty();
      m_articles.emplace(lookup, what);
      if (!priced)
        ADD_FAILURE() << what << ": " << reference << " has no full article: cost "
                      << kept("HBv2_Std_Cost") << ", labour " << kept("HBv2_Std_Labor")
                      << ", weight " << kept("HBv2_Weight") << ", designation "
                      << kept("HBv2_Designation");
      // The bill of range QG shows weights: every line weighs something, its accessories
      // what their articles do.
      if (run.GetPropText("Catalog").starts_with("QG") && run.GetRangeRules().ShowsUnitWeights() &&
          TextToDouble(kept("HBv2_Weight")) <= 0)
        ADD_FAILURE() << what << ": " << reference << " has no bill weight";
    }
  }

  // Every article that priced a line also weighs something.
  void ExpectArticlesWeighed() {
    CPartNumberSettings settings;
    settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
    CPartNumberLink link;
    ASSERT_TRUE(link.Init(settings));
    std::vector<std::string> lookups;
    for (const auto& [lookup, what] : m_articles) lookups.push_back(lookup);
    ASSERT_TRUE(link.WriteArticleList(lookups));
    while (std::optional<std::string> line = link.TakeNextLine()) {
      std::vector<std::string> fields;
      for (std::size_t start = 0, tab; (tab = line->find('\t', start)) != std::string::npos;
           start = tab + 1)
        fields.push_back(line->substr(start, tab - start));
      ASSERT_GE(fields.size(), 17u) << *line;
      EXPECT_GT(TextToDouble(fields[16]), 0) << fields[0] << " (" << m_articles[fields[0]] << ")";
    }
  }

  // The fields of the article of a reference in the article table, TAB-separated.
  static std::vector<std::string> ArticleFields(const std::string& reference) {
    CPartNumberSettings settings;
    settings.articleFolder = TVR_PROGRAM_DIR "/BD/";
    CPartNumberLink link;
    EXPECT_TRUE(link.Init(settings));
    EXPECT_TRUE(link.WriteArticleList({reference}));
    std::vector<std::string> fields;
    if (std::optional<std::string> line = link.TakeNextLine()) {
      std::string text = *line + '\t';
      for (std::size_t start = 0, tab; (tab = text.find('\t', start)) != std::string::npos;
           start = tab + 1)
        fields.push_back(text.substr(start, tab - start));
    }
    return fields;
  }

  static std::int64_t LineQuantity(CRun& run, const std::string& reference) {
    const int line = run.GetBOM().FindLine(reference);
    return line > 0 ? run.GetBOM().GetLineQuantity(line) : 0;
  }

  // The units of the first run taken off one by one: after each, the design saved and
  // reopened holds as many of the fixing piece as the bill showed, none once all are off.
  void ExpectUnitsTakenOffOneByOneKeepTheLine(const std::string& what, const std::string& fixing,
                                              const std::string& path) {
    CRun& run = *m_document->GetRuns().front();
    std::vector<CDev*> units;
    for (CDev* device : run.GetDevices())
      if (device->GetKind() == CDev::kTapOff) units.push_back(device);
    ASSERT_FALSE(units.empty()) << what;
    ASSERT_GT(run.GetBOM().FindLine(fixing), 0) << what;
    // The line keeps the reference as booked, blanks and all.
    const std::string booked = run.GetBOM().GetLine(run.GetBOM().FindLine(fixing))->reference;
    ASSERT_TRUE(run.GetDevicePropByRef(booked, "HBv2_Std_Cost").has_value()) << what;
    for (CDev* unit : units) {
      UnbookTapOffUnit(*unit);
      run.DeleteElement(unit);
      const std::int64_t shown = LineQuantity(run, fixing);
      ASSERT_TRUE(m_document->OnSaveDocument(path).ok) << what;
      CDorneDoc reopened;
      ASSERT_TRUE(reopened.OnOpenDocument(path).ok) << what;
      EXPECT_EQ(LineQuantity(*reopened.GetRuns().front(), fixing), shown) << what;
    }
    EXPECT_EQ(LineQuantity(run, fixing), 0) << what;
    EXPECT_FALSE(run.GetDevicePropByRef(booked, "HBv2_Std_Cost").has_value()) << what;
  }

  void ExpectNothingMissing() {
    ExpectArticlesWeighed();
    std::string list;
    for (const auto& [reference, what] : m_unpriced) list += reference + " (" + what + ")\n";
    EXPECT_TRUE(m_unpriced.empty()) << m_unpriced.size() << " articles missing:\n" << list;
  }

  std::unique_ptr<CDorneDoc> m_document = std::make_unique<CDorneDoc>();
  CEveryOutlet m_outlets;
  int m_units = 0;  // tap-off units placed
  // Article names, each with what first made it.
  std::map<std::string, std::string> m_unpriced;  // not found
  std::map<std::string, std::string> m_articles;  // found, pricing a line
};

TEST_F(SampleCataloguePricingTest, EveryShippedDocumentPricesEveryLine) {
  for (const char* name :
       {"examples/qd_sample.run", "examples/qjf_sample.run", "examples/qp_sample.run",
        "examples/qw_sample.run", "examples/qg_sample.run", "examples/qm_sample.run",
        "examples/qm_bars_sample.run", "examples/qg_bars_sample.run",
        "examples/annotations_sample.run", "model.run"}) {
    m_document = std::make_unique<CDorneDoc>();
    const CDocFileResult opened =
        m_document->OnOpenDocument(std::string(TVR_PROGRAM_DIR "/") + name);
    ASSERT_TRUE(opened.ok) << name << ": " << opened.text;
    PriceAndCheck(name);
  }
  ExpectNothingMissing();
}

TEST_F(SampleCataloguePricingTest, ANewRunOfEveryRangeAndRatingPricesEveryLine) {
  int laid = 0;
  for (const CUsualEnds& range : kRanges) {
    // The ratings that the rating page offers a run of the code.
    std::vector<std::string> ratings;
    {
      CDorneDoc probe;
      std::unique_ptr<CRun> run = CRunFactory::Instance().CreateForCatalog(range.code, &probe);
      ASSERT_NE(run, nullptr) << range.code;
      const std::vector<CCodeLabelRow>* list = run->GetRatingList();
      ASSERT_NE(list, nullptr) << range.code;
      for (const CCodeLabelRow& row : *list) ratings.push_back(row.code);
    }
    EXPECT_FALSE(ratings.empty()) << range.code;
    for (const std::string& rating : ratings) {
      const std::string what = std::string(range.code) + " " + rating;
      // A twin run (QMA 5000 A, QMC 6300 A) makes no part of a tee: its design check says so.
      CUsualEnds ends = range;
      if (what == "QMA 50" || what == "QMC 63") ends.teeOffered = false;
      m_document = std::make_unique<CDorneDoc>();
      m_document->OnNewDocument("");
      while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
      ASSERT_EQ(LayOutSample(*m_document, UsualRun(range, rating)), "") << what;
      PlaceEveryOfferedTapOffUnit(what);
      PriceAndCheck(what, UnofferedPieces(ends, what));
      ++laid;
    }
  }
  EXPECT_GT(laid, 40);
  EXPECT_GT(m_units, 40);
  ExpectNothingMissing();
}

// Range QM's straights of each type its characteristics page offers (plain, stepped with
// and without its ED31 option, EH44 with and without its option), on the rating and
// neutral whose options show, with a riser kit on the rising line of a run that ends on
// a stepped straight, and the same at every rating: every line finds a full article.
TEST_F(SampleCataloguePricingTest, EveryQMStraightTypeAndARiserKitPriceEveryLine) {
  // The option statements on the stepped straight and on the EH44 one.
  const std::pair<const char*, const char*> options[] = {
      {"", ""}, {"field ED31 1\n", ""}, {"", "field EH44 1\n"}};
  for (const char* rating :
       {"QMA 16", "QMA 20", "QMA 25", "QMA 50", "QMC 16", "QMC 25", "QMC 32", "QMC 63"})
    for (const auto& [stepped, eh44] : options) {
      const std::string what = std::string(rating) + " " + stepped + eh44;
      m_document = std::make_unique<CDorneDoc>();
      m_document->OnNewDocument("");
      while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
      const std::string layout = "run " + std::string(rating) +
                                 "\nprop Neutral 7\nstart 20\nstyle 2000000\ngo 4 4000\ntype 3\n" +
                                 stepped + "go 4 4000\ntype 4\n" + eh44 +
                                 "go 2 6000\ntype 3\ngo 4 2000\nend 1\n"
                                 "from 2\nkit 2 1000\nvariant 1\nfield KITCF 0\n";
      ASSERT_EQ(LayOutSample(*m_document, layout), "") << what;
      for (CRun* run : m_document->GetRuns()) ASSERT_EQ(run->RebuildParts(0), 1) << what;
      PriceAndCheck(what);
    }
  ExpectNothingMissing();
}

// The fixing piece that a QW or QJF tap-off unit books beside itself is priced by the
// price update like the unit's own line: the article's price, weight, labour and
// designation; and a saved design keeps the line, priced again once reopened.
TEST_F(SampleCataloguePricingTest, TheFixingPieceOfATapOffUnitIsPricedAndKept) {
  const struct {
    const char* code;
    const char* rating;
    const char* fixing;
  } rows[] = {
      {"QWA", "31", "QW025YA4"},  {"QWA", "50", "QW040YA41"}, {"QWA", "63", "QW040YA42"},
      {"QWA", "80", "QW040YA42"}, {"QJF", "26", "QJ026CB"},
  };
  CTempFolder folder{"fixing"};
  for (const auto& row : rows) {
    const std::string what = std::string(row.code) + " " + row.rating + " " + row.fixing;
    const CUsualEnds& range =
        *std::find_if(std::begin(kRanges), std::end(kRanges),
                      [&](const CUsualEnds& ends) { return std::string(ends.code) == row.code; });
    const std::vector<std::string> article = ArticleFields(row.fixing);
    ASSERT_GE(article.size(), 17u) << what;
    const double cost = TextToDouble(article[3]);
    const double weight = TextToDouble(article[16]);
    ASSERT_GT(cost, 0) << what;
    m_document = std::make_unique<CDorneDoc>();
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    ASSERT_EQ(LayOutSample(*m_document, UsualRun(range, row.rating)), "") << what;
    PlaceEveryOfferedTapOffUnit(what);
    const std::string path = folder.File("fixing.run");
    for (int round = 0; round < 2; ++round) {
      const std::string when = what + (round == 0 ? " as placed" : " reopened");
      PriceAndCheck(when, UnofferedPieces(range, when));
      CRun& run = *m_document->GetRuns().front();
      const int line = run.GetBOM().FindLine(row.fixing);
      ASSERT_GT(line, 0) << when;
      EXPECT_GT(run.GetBOM().GetLineQuantity(line), 0) << when;
      // The line keeps the reference as booked, blanks and all.
      const std::string reference = run.GetBOM().GetLine(line)->reference;
      auto kept = [&](const char* name) {
        return TextToDouble(run.GetDevicePropByRef(reference, name).value_or("0"));
      };
      EXPECT_DOUBLE_EQ(kept("HBv2_Std_Cost"), cost) << when;
      EXPECT_NEAR(kept("HBv2_Weight"), weight, weight * 1e-3) << when;
      EXPECT_GT(kept("HBv2_Std_Labor"), 0) << when;
      EXPECT_EQ(run.GetDevicePropByRef(reference, "HBv2_Designation").value_or(""), article[2])
          << when;
      EXPECT_GT(TextToDouble(run.GetBOM().GetLineFieldText(line, kBOMKindUnitPrice).value_or("0")),
                0)
          << when;
      if (round == 0) {
        ASSERT_TRUE(m_document->OnSaveDocument(path).ok) << when;
        m_document = std::make_unique<CDorneDoc>();
        ASSERT_TRUE(m_document->OnOpenDocument(path).ok) << when;
      }
    }
    ExpectUnitsTakenOffOneByOneKeepTheLine(what, row.fixing, folder.File("taken.run"));
  }
  ExpectNothingMissing();
}

// The shapes that the shape page of a variant offers, by the number the element stores
// (its range makes the variant's part only once one is chosen); {0} for a variant
// without that page. QM's feed and connection boxes take one of three connections, QG's
// feed boxes one of three bar exits, QJF's feed unit one of six shapes and its reduced
// unit (variant 5) four of them.
std::vector<int> ShapesOffered(std::string_view code, int variant) {
  const bool shaped = (code.starts_with("QM") && (variant == 2 || variant == 3 || variant == 6)) ||
                      (code.starts_with("QG") && (variant == 2 || variant == 3));
  if (shaped) return {1, 2, 3};
  if (code == "QJF" && variant == 3) return {1, 2, 3, 4, 5, 6};
  if (code == "QJF" && variant == 5) return {1, 2, 4, 6};
  return {0};
}

// What a range's design check refuses, so that no part is made: the twin housings (QMA
// 5000 A, QMC 6300 A) take neither the second connection, nor a feed unit with breaker
// (variant 4), nor an end tap-off box (variant 5); QM has an adapter to another range
// (variant 7) at some ratings only; QJF makes its end box with outlets (variant 4) up to
// 1450 A and its wide feed shapes (4 and 6) up to 2500 A.
bool DesignCheckRefuses(std::string_view code, std::string_view rating, int variant, int shape) {
  const bool twin = (code == "QMA" && rating == "50") || (code == "QMC" && rating == "63");
  if (twin && (shape == 2 || variant == 4 || variant == 5)) return true;
  if (code.starts_with("QM") && variant == 7) {
    static const std::set<std::string> kAdapted = {"QMA16", "QMA25", "QMC16", "QMC32"};
    return kAdapted.count(std::string(code) + std::string(rating)) == 0;
  }
  if (code != "QJF") return false;
  const int calibre = TextToInt(std::string(rating));
  if (variant == 4) return calibre > 18;
  return (variant == 3 || variant == 5) && (shape == 4 || shape == 6) && calibre > 28;
}

// QM's adapter to QJ is refused on a horizontal run turned on its edge.
bool DesignCheckRefusesOnEdge(std::string_view code, int variant, int rotation) {
  return code.starts_with("QM") && variant == 7 && (rotation == 32 || rotation == 128);
}

// Every end and feed variant that a range's code table offers, at either end of a run of
// every rating turned each way, and a feed with each connection its row offers (1
// switchboard, 2 transformer): every line finds a full article.
TEST_F(SampleCataloguePricingTest, EveryEndAndFeedVariantPricesEveryLine) {
  int laid = 0;
  for (const CUsualEnds& range : kRanges) {
    std::vector<std::string> ratings;
    std::vector<std::pair<int, int>> variants;  // variant, connections offered
    {
      CDorneDoc probe;
      std::unique_ptr<CRun> run = CRunFactory::Instance().CreateForCatalog(range.code, &probe);
      ASSERT_NE(run, nullptr) << range.code;
      for (const CCodeLabelRow& row : *run->GetRatingList()) ratings.push_back(row.code);
      for (const CCodeRow& row : *run->GetCodeTable())
        if (TextToInt(row.texts[0]) == CDev::kEnd && !row.texts[3].empty())
          variants.emplace_back(TextToInt(row.texts[1]) % 100, TextToInt(row.texts[1]) / 100);
    }
    EXPECT_FALSE(variants.empty()) << range.code;
    for (const std::string& rating : ratings)
      for (const auto& [variant, connections] : variants)
        for (int picture : {0, 1, 2})
          for (int shape : ShapesOffered(range.code, variant)) {
            if ((picture != 0 && (connections & picture) == 0) ||
                DesignCheckRefuses(range.code, rating, variant, shape))
              continue;
            const std::string what = std::string(range.code) + " " + rating + " variant " +
                                     std::to_string(variant) + " connection " +
                                     std::to_string(picture) + " shape " + std::to_string(shape);
            m_document = std::make_unique<CDorneDoc>();
            m_document->OnNewDocument("");
            while (!m_document->GetRuns().empty())
              m_document->RemoveRun(m_document->GetRuns().front());
            // The variant at the start with the range's usual end, then at the far end.
            const std::string run = "run " + std::string(range.code) + " " + rating + "\n";
            const std::string style = "style " + std::to_string(picture) + "000000\n" +
                                      (shape != 0 ? "entrax " + std::to_string(shape) + "\n" : "");
            const std::string usual = variant == range.start ? range.extra : "";
            for (const std::string& layout :
                 {run + "start " + std::to_string(variant) + "\n" + usual + style +
                      "go 4 6000\nend " + std::to_string(range.end) + "\n",
                  run + "start " + std::to_string(range.start) + "\n" + range.extra +
                      "go 4 6000\nend " + std::to_string(variant) + "\n" + style}) {
              m_document = std::make_unique<CDorneDoc>();
              m_document->OnNewDocument("");
              while (!m_document->GetRuns().empty())
                m_document->RemoveRun(m_document->GetRuns().front());
              ASSERT_EQ(LayOutSample(*m_document, layout), "") << what;
              // Each way the rotation commands turn the run: they change the references.
              CRun& turned = *m_document->GetRuns().front();
              for (int turn = 0; turn < 4; ++turn) {
                if (turn > 0) {
                  m_document->SetCurrentRun(&turned);
                  m_document->RotateRunForward();
                }
                if (DesignCheckRefusesOnEdge(range.code, variant, turned.GetRotation())) continue;
                for (CRun* built : m_document->GetRuns())
                  ASSERT_EQ(built->RebuildParts(0), 1) << what;
                PriceAndCheck(what + " rotation " + std::to_string(turned.GetRotation()) +
                              (layout.ends_with(style) ? " at the far end" : ""));
              }
            }
            ++laid;
          }
  }
  EXPECT_GT(laid, 100);
  ExpectNothingMissing();
}

// Whether a range's characteristics page leaves out the special piece (kind 8) of the code
// at the rating and neutral ("" the run's usual one): QMA's adapter (11) but at 2500 A with
// the neutrals 6 to 8, and QM's double coupler (16) but on the twin housings (QMA 5000 A,
// 6300 A whatever the code). In-line units (kind 7) are all offered, those of variant 2 on
// once the run is built.
bool PageLeavesOut(std::string_view code, std::string_view rating, std::string_view neutral,
                   int kind, int variant) {
  if (kind != CDev::kInLineVariant || !code.starts_with("QM")) return false;
  if (code == "QMA" && (variant == 11 || variant == 12))
    return !(rating == "25" && neutral >= "6" && neutral <= "8");
  return variant == 16 && rating != "63" && !(code == "QMA" && rating == "50");
}

// What a range's design check refuses of a unit or piece laid in the middle of a flat
// line, so that no part is made: a special piece of variant 0 (QW's fire barrier, the
// generic piece of the APOD lines) whatever the line, QJF's special piece below 2200 A,
// QPC's at 250 A, and QM's riser kit, which stands on a rising line (the riser kit test
// lays it there).
bool InLineCheckRefuses(std::string_view code, std::string_view rating, int kind, int variant) {
  if (kind == CDev::kInLineVariant)
    return variant == 0 || (code == "QJF" && rating == "14") || (code == "QPC" && rating == "25");
  return code.starts_with("QM") && variant == 1;
}

// Every in-line unit and special piece that a range's characteristics page offers, at
// every rating, laid on the line of a run between its usual ends as the design tools lay
// them: every line finds a full article.
TEST_F(SampleCataloguePricingTest, EveryInLineUnitAndSpecialPiecePricesEveryLine) {
  int laid = 0;
  std::set<std::string> codes;
  for (const CUsualEnds& range : kRanges) {
    if (!codes.insert(range.code).second) continue;
    std::vector<std::string> ratings;
    std::vector<std::pair<int, int>> pieces;  // kind, code (option x 100 + variant)
    {
      CDorneDoc probe;
      std::unique_ptr<CRun> run = CRunFactory::Instance().CreateForCatalog(range.code, &probe);
      ASSERT_NE(run, nullptr) << range.code;
      for (const CCodeLabelRow& row : *run->GetRatingList()) ratings.push_back(row.code);
      for (const CCodeRow& row : *run->GetCodeTable()) {
        const int kind = TextToInt(row.texts[0]);
        if (kind == CDev::kInLine || kind == CDev::kInLineVariant)
          pieces.emplace_back(kind, TextToInt(row.texts[1]));
      }
    }
    for (const std::string& rating : ratings)
      for (const std::string neutral : {"", "7"})
        for (const auto& [kind, code] : pieces) {
          const int variant = code % 100;
          // QMA 2500 A with the neutral 7 offers a piece more.
          if ((!neutral.empty() && std::string(range.code) + rating != "QMA25") ||
              PageLeavesOut(range.code, rating, neutral, kind, variant) ||
              InLineCheckRefuses(range.code, rating, kind, variant))
            continue;
          const std::string what = std::string(range.code) + " " + rating + " " + neutral +
                                   " kind " + std::to_string(kind) + " variant " +
                                   std::to_string(code);
          m_document = std::make_unique<CDorneDoc>();
          m_document->OnNewDocument("");
          while (!m_document->GetRuns().empty())
            m_document->RemoveRun(m_document->GetRuns().front());
          std::string layout = "run " + std::string(range.code) + " " + rating + "\n" +
                               (neutral.empty() ? "" : "prop Neutral " + neutral + "\n") +
                               "start " + std::to_string(range.start) + "\n" + range.extra +
                               "go 4 6000\nend " + std::to_string(range.end) +
                               "\nfrom 0\nkit 4 3000 " + std::to_string(kind) + "\nvariant " +
                               std::to_string(variant) + "\n";
          // What the page sets besides: the option of the code, a riser kit's position.
          if (code >= 100) layout += "style " + std::to_string(code / 100) + "000000\n";
          ASSERT_EQ(LayOutSample(*m_document, layout), "") << what;
          CRun& run = *m_document->GetRuns().front();
          if (kind == CDev::kInLine && !run.InLineKitPosition(variant).empty())
            for (CDev* element : run.GetDevices())
              if (element->GetKind() == CDev::kInLine)
                element->SetPropValue("KITCF", std::string(run.InLineKitPosition(variant)));
          ASSERT_EQ(run.RebuildParts(0), 1) << what;
          // The piece became a part, not the range's text for its kind.
          const auto placed = std::ranges::find_if(
              run.GetDevices(), [&](const CDev* element) { return element->GetKind() == kind; });
          ASSERT_NE(placed, run.GetDevices().end()) << what;
          EXPECT_FALSE(run.IsKindText((*placed)->GetReference(), kind, variant)) << what;
          PriceAndCheck(what);
          ++laid;
        }
  }
  EXPECT_GT(laid, 60);
  ExpectNothingMissing();
}

}  // namespace
// The pieces of a run that its range makes no part for, named by the range's text for
// their kind: each with how many of it the run's bill holds.
std::map<std::string, std::int64_t> PiecesNamedByKind(CRun& run) {
  std::set<std::string> texts;
  for (const CDev* element : run.GetDevices())
    texts.insert(run.GetKindText(element->GetKind(), element->GetVariant()));
  std::map<std::string, std::int64_t> pieces;
  CBOMGrid& grid = run.GetBOM();
  for (int row = 1; row < grid.GetLineCount(); ++row)
    if (texts.count(grid.GetLine(row)->reference) != 0)
      pieces[grid.GetLine(row)->reference] += grid.GetLineQuantity(row);
  return pieces;
}

// Every shipped document, and the usual run of every range and rating, turned each way by
// the rotation commands: every part built finds a full article. What a range makes no part
// for on a turned run (a flat tee turned on its edge) keeps the range's text.
TEST_F(SampleCataloguePricingTest, EveryRunTurnedEachWayPricesEveryPartBuilt) {
  std::vector<std::pair<std::string, std::string>> layouts;  // what, a file or a layout
  for (const char* name :
       {"examples/qd_sample.run", "examples/qjf_sample.run", "examples/qp_sample.run",
        "examples/qw_sample.run", "examples/qg_sample.run", "examples/qm_sample.run",
        "examples/qm_bars_sample.run", "examples/qg_bars_sample.run", "model.run"})
    layouts.emplace_back(name, "");
  for (const CUsualEnds& range : kRanges) {
    CDorneDoc probe;
    std::unique_ptr<CRun> run = CRunFactory::Instance().CreateForCatalog(range.code, &probe);
    ASSERT_NE(run, nullptr) << range.code;
    for (const CCodeLabelRow& row : *run->GetRatingList())
      layouts.emplace_back(std::string(range.code) + " " + row.code, UsualRun(range, row.code));
  }
  for (const auto& [name, layout] : layouts) {
    m_document = std::make_unique<CDorneDoc>();
    if (layout.empty()) {
      ASSERT_TRUE(m_document->OnOpenDocument(std::string(TVR_PROGRAM_DIR "/") + name).ok) << name;
    } else {
      m_document->OnNewDocument("");
      while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
      ASSERT_EQ(LayOutSample(*m_document, layout), "") << name;
    }
    // The price update adds working copies to the document's runs for a while.
    for (std::size_t i = 0; i < m_document->GetRuns().size(); ++i)
      for (int turn = 0; turn < 4; ++turn) {
        m_document->SetCurrentRun(m_document->GetRuns()[i]);
        m_document->RotateRunForward();
        CRun& turned = *m_document->GetRuns()[i];
        turned.RebuildParts(0);
        std::map<std::string, std::int64_t> named;
        for (CRun* run : m_document->GetRuns())
          for (const auto& [text, count] : PiecesNamedByKind(*run)) named[text] += count;
        PriceAndCheck(name + " run " + std::to_string(i) + " rotation " +
                          std::to_string(turned.GetRotation()),
                      named);
      }
  }
  ExpectNothingMissing();
}
