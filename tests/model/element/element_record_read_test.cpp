#include "model/run/run_test_support.h"

#include "support/golden_file.h"

#include <sstream>

namespace {

// One element record of the table: the fields a record carries, in the forms a text can
// take (short and long, ASCII or not, the generic marker, a calibre with its suffix).
struct ElementCase {
  const char* guards;
  int kind;
  std::uint32_t style;
  std::string reference;
  std::string comment;
  std::string calibre;
  std::int32_t calibreSuffix;
  std::vector<std::pair<std::string, std::string>> properties;
  std::vector<int> boxSlots;
};

std::vector<ElementCase> Cases() {
  const std::string longText(300, 'L');  // past the one-byte count
  return {
      {"end element", CDev::kEnd, 0x1, "END-X", "", "63", 0, {}, {CBoxOwner::kBodySlot}},
      {"straight with a calibre suffix", CDev::kStraight, 0x102, "S-12", "", "63", 7, {}, {}},
      {"elbow with properties",
       CDev::kElbow,
       0x0,
       "ELB-9",
       "",
       "40",
       0,
       {{"ELBOW_ANGL", "45"}, {"ELBOW_LENG", "300"}},
       {}},
      {"tee with a non-ASCII comment",
       CDev::kJunction2,
       0x0,
       "TEE-1",
       "co\xC3\xBBt\xC3\xA9",
       "",
       0,
       {},
       {}},
      {"junctions of three to five branches", CDev::kJunction3, 0x0, "J3", "", "", 0, {}, {}},
      {"four branches", CDev::kJunction4, 0x0, "J4", "", "", 0, {}, {}},
      {"five branches", CDev::kJunction5, 0x0, "J5", "", "", 0, {}, {}},
      {"in-line unit with face boxes", CDev::kInLine, 0x0, "UNIT-3", "x", "100", 0, {}, {0, 6}},
      {"in-line unit of variants, style in a property",
       CDev::kInLineVariant,
       0x119,
       "FEED-5",
       "",
       "63",
       0,
       {},
       {}},
      {"joint with a long reference", CDev::kJoint, 0x0, longText, longText, "", 0, {}, {}},
      {"second joint kind, non-ASCII reference",
       CDev::kJoint2,
       0x0,
       "J\xC3\x9C-2",
       "",
       "",
       0,
       {},
       {}},
      {"bend point", CDev::kBend, 0x0, "B", "", "", 0, {}, {}},
      {"length record", CDev::kLengthRecord, 0x100, "L-1", "", "63", 0, {}, {}},
      {"accessory record", CDev::kAccessory, 0x0, "ACC", "", "", 0, {{"QTY", "3"}}, {}},
      {"tap-off unit without a place", CDev::kTapOff, 0x0, "TAP", "", "25", 0, {}, {}},
      {"a reference that reads as four units at a time and then one",
       CDev::kStraight,
       0x0,
       "ABCDEFGH\xC3\xA9",
       "",
       "",
       0,
       {},
       {}},
      {"the generic marker, resolved by the reading run",
       CDev::kElbow,
       0x0,
       "ELB-0",
       "",
       "",
       0,
       {},
       {}},
  };
}

class ElementRecordReadTest : public RunRecordTestBase {
 protected:
  // The element of the case, made in `run` as an edit would leave it.
  static CDev& Make(CRun& run, const ElementCase& row) {
    CDev& element = *run.NewElement();
    element.SetKind(row.kind);
    element.SetStyle(row.style);
    element.SetStyle2(row.kind == CDev::kTapOff ? 0xFFFFFFFFu : row.style);
    element.SetReference(row.reference);
    element.SetComment(row.comment);
    element.SetCalibre(row.calibre);
    element.SetCalibreSuffix(row.calibreSuffix);
    element.SetActive(1);
    element.SetEdited();
    element.SetBooked(row.kind == CDev::kBend ? 0 : 1);
    element.SetBookedLength(1000 + row.kind);
    element.SetDrawnLength(900 + row.kind);
    element.SetOffset(-row.kind);
    element.SetPosition(C3DPoint(10.0 * row.kind, -3, 7));
    element.SetDirection(row.kind % CDev::kFaceCount);
    element.SetRotation(row.kind % 2 == 0 ? 32 : 64);
    element.SetBackOffsets({1, 2, row.kind});
    element.SetFrontOffsets({-1, -2, -row.kind});
    element.SetFreeFace(2, 0);
    for (const auto& [name, value] : row.properties) element.SetPropValue(name, value);
    for (int slot : row.boxSlots)
      element.MakeBox(slot)->SetPlacement(C3DPoint(slot, 2 * slot, 3), 10 + slot, 21, 31);
    return element;
  }
};

// What a reader gives back: every field of the record, one per line.
std::string Fields(const CDev& element) {
  std::ostringstream out;
  out << "kind " << element.GetKind() << "\nstyle " << element.GetStyle() << ' '
      << element.GetStyle2() << "\nreference " << element.GetReference() << "\ncomment "
      << element.GetComment() << "\ncalibre " << element.GetCalibre() << " Z "
      << element.GetCalibreSuffix() << "\nflags " << element.GetActive() << ' '
      << element.GetEdited() << ' ' << element.GetBooked() << "\nlengths "
      << element.GetBookedLength() << ' ' << element.GetDrawnLength() << ' ' << element.GetOffset()
      << "\nposition " << element.GetPosition().x << ' ' << element.GetPosition().y << ' '
      << element.GetPosition().z << "\nplacement " << element.GetDirection() << ' '
      << element.GetRotation() << "\noffsets";
  for (std::int32_t value : element.GetBackOffsets()) out << ' ' << value;
  for (std::int32_t value : element.GetFrontOffsets()) out << ' ' << value;
  out << "\nfree faces";
  for (int face = 0; face < CDev::kFaceCount; ++face) out << ' ' << element.GetFreeFace(face);
  out << "\nproperties";
  for (const auto& prop : element.GetPropArray())
    out << ' ' << prop->GetName() << '=' << prop->GetValue();
  out << "\nboxes";
  for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
    const CBox* box = element.GetBox(slot);
    if (box == nullptr) continue;
    out << ' ' << slot << ':' << box->GetOrigin().x << ',' << box->GetOrigin().y << ','
        << box->GetOrigin().z << '/' << box->GetExtent(0) << ',' << box->GetExtent(1) << ','
        << box->GetExtent(2);
  }
  return out.str();
}

// Every kind of element, read back, carries each field it was written with (the generic
// reference as the reading run's text) and writes back the bytes it was read from.
TEST_F(ElementRecordReadTest, EveryKindReadsBackFieldForField) {
  for (const ElementCase& row : Cases()) {
    auto run = NewRun();
    const CDev& written = Make(*run, row);
    const std::vector<std::uint8_t> bytes = WrittenBytes(written);
    CDev& read = ReadBytes(*run->NewElement(), bytes);
    EXPECT_EQ(Fields(read), Fields(written)) << row.guards;
    EXPECT_EQ(WrittenBytes(read), bytes) << row.guards;
  }
}

// What reading the first `size` bytes of the record ends with.
std::string CutOutcome(CRun& run, const std::vector<std::uint8_t>& bytes, std::size_t size) {
  CArchiveReader reader(bytes.data(), size);
  try {
    run.NewElement()->Serialize(reader);
    return "read whole";
  } catch (const CArchiveError& error) {
    return error.what();
  }
}

// A record cut anywhere is refused with the message it had before texts and fields were
// read the quicker ways (the listing was made by the reader those replaced). Cuts in a row
// that end alike are listed as one range.
TEST_F(ElementRecordReadTest, ACutRecordGivesTheMessageItAlwaysGave) {
  std::ostringstream listing;
  for (const ElementCase& row : Cases()) {
    auto run = NewRun();
    const std::vector<std::uint8_t> bytes = WrittenBytes(Make(*run, row));
    listing << "# " << row.guards << '\n';
    std::size_t from = 0;
    std::string outcome = CutOutcome(*run, bytes, 0);
    for (std::size_t size = 1; size <= bytes.size(); ++size) {
      const std::string next = size < bytes.size() ? CutOutcome(*run, bytes, size) : "";
      if (next == outcome) continue;
      listing << from << '-' << size - 1 << ": " << outcome << '\n';
      from = size;
      outcome = next;
    }
  }
  ExpectGolden("model/element_record_cuts.txt", listing.str());
}

// A record that a streamed reader's buffer ends anywhere within, so that the rest of a
// block of fields comes with the next piece of the stream, reads as from memory and uses
// up the stream.
TEST_F(ElementRecordReadTest, ARecordAcrossTheStreamsPiecesReadsAsFromMemory) {
  constexpr std::size_t kPiece = 64 * 1024;  // what a streamed reader takes at once
  for (const ElementCase& row : Cases()) {
    auto run = NewRun();
    const std::vector<std::uint8_t> bytes = WrittenBytes(Make(*run, row));
    const std::string expected = Fields(ReadBytes(*run->NewElement(), bytes));
    for (std::size_t inFirstPiece = 1; inFirstPiece < bytes.size(); ++inFirstPiece) {
      // Zeros up to the record, which starts that many bytes before the first piece ends.
      const std::size_t start = kPiece - inFirstPiece;
      std::size_t given = 0;
      CArchiveReader reader(start + bytes.size(), [&](std::uint8_t* buffer, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i, ++given)
          buffer[i] = given < start ? 0 : bytes[given - start];
        return count;
      });
      reader.Skip(start);
      CDev& read = *run->NewElement();
      read.Serialize(reader);
      EXPECT_EQ(Fields(read), expected) << row.guards << ", cut after " << inFirstPiece;
      EXPECT_TRUE(reader.AtEnd()) << row.guards << ", cut after " << inFirstPiece;
    }
  }
}

}  // namespace
