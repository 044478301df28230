#include "linear/ui/linear_line_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/ui/window_translation.h"
#include "linear/linear_line_list.h"
#include "linear/linear_products.h"

namespace {

constexpr int kMsgBack = 31016;
constexpr int kMsgNext = 31017;
constexpr int kMsgConductors = 31013;
constexpr int kMsgVariant = 31141;
constexpr int kMsgCurrent = 31012;
constexpr int kMsgQyChoice1 = 31109;
constexpr int kMsgQyChoice2 = 31110;
constexpr int kMsgRatingNote = 31140;
constexpr int kMsgQyxNote = 32282;
constexpr int kMaxCurrent = 10000;
constexpr int kQyFlagSlot = 125;

const char* const kConductorTexts[2][6] = {
    {"3L+PE", "3L+N+PE", "3L+N+PER", "3L+N/2+PE", "3L+2N+PE", "3L+2N+PER"},
    {"2", "4", "2+2", "4+2", "4+4", "3L+2N+PER"}};
const char* const kVariantTexts[2] = {"IP52", "IP54"};

QString ProductEntry(int product, int rating, bool apod) {
  QString code = QString::fromStdString(LinearProductCode(product, apod)).toUpper();
  return QStringLiteral("%1  %2 A").arg(code).arg(rating);
}

}  // namespace

CLinearLineEditor::CLinearLineEditor(const CLinearConfig& config, CLinearLineList& lines,
                                     char decimal, QWidget* parent)
    : QWidget(parent), m_config(config), m_lines(lines), m_decimal(decimal) {
  setObjectName(QStringLiteral("linear_line_editor"));
  m_pages = new QStackedWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_pages);
  BuildHeader();
  BuildBodyPage();
}

CLinearLine& CLinearLineEditor::Line() const { return m_lines.Working(); }

void CLinearLineEditor::BuildHeader() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  m_title = new QLabel;
  m_title->setObjectName(QStringLiteral("linear_editor_title"));
  grid->addWidget(m_title, 0, 0, 1, 3);
  auto addLabel = [grid](int row, int message) {
    auto* label = new QLabel;
    SetMessageText(label, message);
    grid->addWidget(label, row, 0);
  };
  addLabel(1, kMsgConductors);
  m_conductors = new QComboBox;
  grid->addWidget(m_conductors, 1, 1);
  addLabel(2, kMsgVariant);
  m_variants = new QComboBox;
  grid->addWidget(m_variants, 2, 1);
  addLabel(3, kMsgCurrent);
  m_ampere = new QLineEdit;
  m_ampere->setObjectName(QStringLiteral("linear_ampere"));
  // A current in whole amperes, below 10000 A: digits only, as the field always took.
  m_ampere->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_ampere));
  auto* up = new QToolButton;
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton;
  down->setArrowType(Qt::DownArrow);
  auto* ampereRow = new QHBoxLayout;
  ampereRow->addWidget(m_ampere);
  ampereRow->addWidget(new QLabel(QStringLiteral("A")));
  ampereRow->addWidget(up);
  ampereRow->addWidget(down);
  grid->addLayout(ampereRow, 3, 1);
  m_products = new QComboBox;
  m_products->setObjectName(QStringLiteral("linear_products"));
  grid->addWidget(m_products, 4, 1);
  m_note = new QLabel;
  m_note->setObjectName(QStringLiteral("linear_product_note"));
  m_note->setWordWrap(true);
  grid->addWidget(m_note, 4, 2);
  m_qyChoice = new QComboBox;
  m_qyChoice->setObjectName(QStringLiteral("linear_qy_choice"));
  m_qyChoice->addItem(StringQText(kMsgQyChoice1));
  m_qyChoice->addItem(StringQText(kMsgQyChoice2));
  grid->addWidget(m_qyChoice, 5, 1);
  auto* back = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgBack));
  back->setObjectName(QStringLiteral("linear_header_back"));
  m_headerNext = new QPushButton(StringQText(kMsgNext) + QStringLiteral(" >> "));
  m_headerNext->setObjectName(QStringLiteral("linear_header_next"));
  grid->addWidget(back, 6, 0);
  grid->addWidget(m_headerNext, 6, 2);
  grid->setRowStretch(7, 1);
  m_pages->addWidget(page);
  connect(back, &QPushButton::clicked, this, &CLinearLineEditor::AbandonAsked);
  connect(m_headerNext, &QPushButton::clicked, this, [this] {
    if (ApplyLineHeader()) emit HeaderAccepted();
  });
  connect(up, &QToolButton::clicked, this, [this] { StepRating(1); });
  connect(down, &QToolButton::clicked, this, [this] { StepRating(-1); });
  connect(m_ampere, &QLineEdit::textEdited, this, [this] { RefillProducts(); });
  connect(m_conductors, &QComboBox::activated, this, [this] { RefillProducts(); });
  connect(m_variants, &QComboBox::activated, this, [this] { OnVariantChanged(); });
  connect(m_products, &QComboBox::currentIndexChanged, this, [this] { ShowProductNote(); });
}

void CLinearLineEditor::OnVariantChanged() {
  // Lighting lines offer other conductor layouts with the second variant.
  if (Line().Group == 3) {
    const bool second = m_variants->currentData().toInt() == 19;
    m_conductors->clear();
    for (int code : second ? std::vector<int>{14, 15, 16} : std::vector<int>{12, 13})
      m_conductors->addItem(QString::fromLatin1(kConductorTexts[1][code - 12]), code);
    m_conductors->setCurrentIndex(0);
  }
  RefillProducts();
}

void CLinearLineEditor::ShowProductNote() {
  const QString entry = m_products->currentText();
  const std::string code = entry.left(3).toStdString();
  QString note;
  bool qyChoice = false;
  const bool apod = m_config.Apod();
  if (code == "QMA" || code == "QMC" || code == "QDA" ||
      (!apod && (code == "QPA" || code == "QPC")))
    note = StringQText(kMsgRatingNote);
  else if (code == "QYX") note = StringQText(kMsgQyxNote);
  else if (apod && (code == "QPA" || code == "QPC")) note = entry + QStringLiteral(" APOD");
  else if (code == "QYA" || code == "QYB") {
    const CLinearConfig::QyList& qy = m_config.QyBoxList();
    qyChoice = qy[0] > 0 || qy[1] > 0 || qy[2] > 0;
  }
  m_note->setText(note);
  m_note->setVisible(!note.isEmpty());
  m_qyChoice->setVisible(qyChoice);
}

bool CLinearLineEditor::FillLineCombos(const QString& title) {
  CLinearLine& line = Line();
  m_title->setText(title);
  std::vector<int> ranks = m_config.GetChoiceTable(0, line);
  const int group = std::clamp(line.Group, 0, 3);
  auto fill = [&ranks](QComboBox* combo, int first, int last, int current, auto text) {
    combo->clear();
    std::vector<std::pair<int, int>> order;
    for (int code = first; code <= last; ++code) {
      int rank = code < static_cast<int>(ranks.size()) ? ranks[static_cast<std::size_t>(code)] : 0;
      if (rank > 0 || code == current) order.push_back({rank, code});
    }
    std::sort(order.begin(), order.end());
    for (auto [rank, code] : order) combo->addItem(text(code), code);
    int index = combo->findData(current);
    combo->setCurrentIndex(index < 0 ? 0 : index);
  };
  fill(m_conductors, 12, 17, line.Conductors, [group](int code) {
    return QString::fromLatin1(kConductorTexts[group == 3 ? 1 : 0][code - 12]);
  });
  fill(m_variants, 18, 19, line.SecondVariant == 1 ? 19 : 18,
       [](int code) { return QString::fromLatin1(kVariantTexts[code - 18]); });
  if (m_conductors->count() == 0 || m_variants->count() == 0) return false;
  int rating = line.Rating;
  if (IsQmProduct(line.Product) && rating == 1200) rating = 1250;
  if (IsQmProduct(line.Product) && rating == 3000) rating = 3200;
  m_ampere->setText(rating >= 1 ? QString::number(rating) : QString());
  m_qyChoice->setEnabled(IsQyProduct(line.Product));
  m_qyChoice->setCurrentIndex(line.Slots[kQyFlagSlot] > 0 ? 0 : 1);
  m_conductors->setEnabled(true);
  m_variants->setEnabled(true);
  RefillProducts();
  if (line.Product >= 0 && m_products->findData(line.Product) < 0) {
    m_products->insertItem(0, ProductEntry(line.Product, line.Rating, m_config.Apod()),
                           line.Product);
    m_products->setCurrentIndex(0);
  }
  m_products->setEnabled(m_products->count() > 0);
  m_headerNext->setEnabled(m_products->count() > 0);
  m_pages->setCurrentIndex(0);
  return true;
}

std::vector<int> CLinearLineEditor::CandidateProducts() const {
  CLinearLine probe = Line();
  std::vector<int> ranks = m_config.GetChoiceTable(0, probe);
  const int conductors = m_conductors->currentData().toInt();
  const int variant = m_variants->currentData().toInt();
  std::vector<std::pair<int, int>> order;
  for (int product = 0; product < kLinearProductCount; ++product) {
    int rank = ranks[static_cast<std::size_t>(product)];
    if (rank <= 0) continue;
    if (IsQwProduct(product) && Line().Product != product) continue;
    std::array<int, 8> support = CLinearConfig::SupportOf(product, Line().Group);
    if (conductors < 12 || conductors > 17 || !support[static_cast<std::size_t>(conductors - 12)])
      continue;
    if (variant < 18 || variant > 19 || !support[static_cast<std::size_t>(variant - 12)]) continue;
    order.push_back({rank, product});
  }
  std::sort(order.begin(), order.end());
  std::vector<int> products;
  for (auto [rank, product] : order) products.push_back(product);
  return products;
}

void CLinearLineEditor::RefillProducts() {
  const int current = m_ampere->text().toInt();
  const int conductors = m_conductors->currentData().toInt();
  m_products->clear();
  for (int product : CandidateProducts()) {
    for (int rating : CLinearConfig::RatingsOf(product, m_config.Apod())) {
      if (rating <= 0 || rating < current) continue;
      if (product == kProductQJF && conductors == 15 && rating < 2200) continue;
      m_products->addItem(ProductEntry(product, rating, m_config.Apod()), product);
      break;
    }
  }
  m_products->setEnabled(m_products->count() > 0);
  m_headerNext->setEnabled(m_products->count() > 0);
}

void CLinearLineEditor::StepRating(int direction) {
  const int current = m_ampere->text().toInt();
  int best = direction > 0 ? kMaxCurrent : 0;
  for (int product : CandidateProducts())
    for (int rating : CLinearConfig::RatingsOf(product, m_config.Apod())) {
      if (rating <= 0) continue;
      if (direction > 0 && rating > current && rating < best) best = rating;
      if (direction < 0 && rating < current && rating > best) best = rating;
    }
  if (best <= 0 || best >= kMaxCurrent) return;
  m_ampere->setText(QString::number(best));
  RefillProducts();
}

bool CLinearLineEditor::ApplyLineHeader() {
  if (m_products->count() == 0) return false;
  const int product = m_products->currentData().toInt();
  const int rating = m_products->currentText().right(6).remove(QLatin1Char('A')).trimmed().toInt();
  CLinearLine& line = Line();
  line.Conductors = m_conductors->currentData().toInt();
  line.SecondVariant = m_variants->currentData().toInt() == 19 ? 1 : 0;
  m_lines.SetProductAndRating(product, rating, m_config);
  if (IsQyProduct(product)) ApplyQyChoice(line);
  m_lines.UpdateIpDegree(m_config);
  m_conductors->setEnabled(false);
  m_variants->setEnabled(false);
  m_products->setEnabled(false);
  ShowBodyControls();
  return true;
}

void CLinearLineEditor::ApplyQyChoice(CLinearLine& line) {
  const int flag = m_qyChoice->currentIndex() == 0 ? 1 : 0;
  if ((line.Slots[kQyFlagSlot] > 0 ? 1 : 0) == flag) return;
  // The two choices offer different tap-off boxes: the old ones no longer apply.
  for (int slot = kLinearFirstBoxSlot; slot < kLinearSlotCount; ++slot) line.Slots[slot] = -1;
  line.Slots[kQyFlagSlot] = flag;
}

bool CLinearLineEditor::OnHeaderPage() const { return m_pages->currentIndex() == 0; }

void CLinearLineEditor::ShowHeaderPage() {
  m_conductors->setEnabled(true);
  m_variants->setEnabled(true);
  m_products->setEnabled(m_products->count() > 0);
  m_pages->setCurrentIndex(0);
}
