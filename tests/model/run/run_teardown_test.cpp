#include "model/run/run_test_support.h"

#include <map>
#include <sstream>

namespace {

// A document that notes each element it is told is gone, by reference, in turn.
class CGoneRecordingDocument : public CFakeRunDocument {
 public:
  void OnElementDestroyed(CDev& element) override { gone.push_back(element.GetReference()); }
  std::vector<std::string> gone;
};

class RunTeardownTest : public RunTestBase {
 protected:
  // A device per letter of the layout, listed in its order: E a chain start, A an
  // accessory, U a tap-off unit on the start. Each is named by its letter and place.
  std::vector<CDev*> ListDevices(CRun& run, std::string_view layout) {
    static const std::map<char, int> kinds = {
        {'E', CDev::kEnd}, {'A', CDev::kAccessory}, {'U', CDev::kTapOff}};
    std::vector<CDev*> devices;
    for (std::size_t i = 0; i < layout.size(); ++i) {
      CDev* device = run.NewElement();
      device->SetKind(kinds.at(layout[i]));
      device->SetActive(1);
      device->SetReference(layout[i] + std::to_string(i));
      if (layout[i] == 'U' && !devices.empty()) device->SetAttached(devices.front());
      run.AddDevice(device);
      devices.push_back(device);
    }
    return devices;
  }
  static std::string Joined(const std::vector<std::string>& names) {
    std::ostringstream text;
    for (const std::string& name : names) text << (text.tellp() > 0 ? " " : "") << name;
    return text.str();
  }
};

// A run that goes tells its document of every element once, its units first from the
// last one, then the others from the last one, as deleting the units one by one did; an
// element selected is no longer selected once it is gone.
TEST_F(RunTeardownTest, EveryElementGoesOnceUnitsFirstFromTheLast) {
  struct Row {
    const char* name;
    const char* layout;
    int selected;  // place of the selected device; -1 for none
    const char* gone;
  };
  const Row rows[] = {
      {"units after the accessories", "EAAUU", -1, "U4 U3 A2 A1 E0"},
      {"units before the accessories, as the user added them", "EUUAA", -1, "U2 U1 A4 A3 E0"},
      {"units among the accessories", "EUAUA", -1, "U3 U1 A4 A2 E0"},
      {"no unit", "EAA", -1, "A2 A1 E0"},
      {"units alone", "UUU", -1, "U2 U1 U0"},
      {"a selected unit among others", "EUAUA", 1, "U3 U1 A4 A2 E0"},
      {"the selected element is no unit", "EUA", 2, "U1 A2 E0"},
  };
  for (const Row& row : rows) {
    CGoneRecordingDocument document;
    auto run = std::make_unique<CRun>(&document);
    const std::vector<CDev*> devices = ListDevices(*run, row.layout);
    if (row.selected >= 0)
      document.selection.Select(devices[static_cast<std::size_t>(row.selected)], 0);
    run.reset();
    EXPECT_EQ(Joined(document.gone), row.gone) << row.name;
    EXPECT_EQ(document.selection.Element(), nullptr) << row.name;
  }
}

// Units of two runs in one document: the run that goes leaves the other's units listed,
// indexed and selected as they were.
TEST_F(RunTeardownTest, TheOtherRunKeepsItsUnits) {
  CGoneRecordingDocument document;
  auto going = std::make_unique<CRun>(&document);
  CRun staying(&document);
  staying.SetPartsState(2);  // units count once their parts are built
  ListDevices(*going, "EUAU");
  const std::vector<CDev*> kept = ListDevices(staying, "EUAU");
  document.selection.Select(kept[3], 0);
  going.reset();
  EXPECT_EQ(Joined(document.gone), "U3 U1 A2 E0");
  EXPECT_EQ(staying.GetDevices(), kept);
  EXPECT_EQ(staying.CountByRef("U3"), 1);
  EXPECT_EQ(document.selection.Element(), kept[3]);
}

}  // namespace
