#include "transform/ui/trans_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <initializer_list>

#include "drawing/word_lines.h"
#include "model/units.h"

namespace pelmar {

namespace {

struct EditSpec {
    const char* suffix;  // EditXX and LabelXX
    const char* label;
    const char* start;
};

// An edit of the window takes any text, as typed or pasted: Apply reads it
// and tells a text that is no number, so nothing typed is ever changed into
// another number.  Left empty or with a lone minus, it reads "0" or "-0".
class TransEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusOutEvent(QFocusEvent* event) override {
        // A context menu of the edit takes the focus for a moment only.
        if (event->reason() != Qt::PopupFocusReason) {
            const QString fixed = QString::fromStdString(FixEmptyEdit(text().toStdString()));
            if (fixed != text()) setText(fixed);
        }
        QLineEdit::focusOutEvent(event);
    }
};

}  // namespace

// A caption with the minimise button alone: the window is not closed by the
// user, so the window manager shows no close box that would do nothing.
TFormTrans::TFormTrans(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint) {
    setObjectName("FormTrans");
    setFixedSize(ClientWidth, ClientHeight);

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    // The six tabs do not fit in one row of the narrow window: they stand in
    // two rows of buttons above the pages.
    PageControl1->tabBar()->hide();
    auto* pages = new QVBoxLayout;
    pages->setSpacing(0);
    auto* tabRows = new QGridLayout;
    tabRows->setSpacing(0);
    pages->addLayout(tabRows);
    pages->addWidget(PageControl1, 1);
    root->addLayout(pages, 1);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int i) {
        if (i >= 0 && i < static_cast<int>(tabButtons_.size()) && tabButtons_[i]) tabButtons_[i]->setChecked(true);
    });

    auto* side = new QVBoxLayout;
    auto* scope = new QGroupBox(this);
    scope->setObjectName("GroupBox1");
    auto* scopeLayout = new QVBoxLayout(scope);
    auto box = [&](const char* name) {
        auto* b = new QCheckBox(scope);
        b->setObjectName(name);
        scopeLayout->addWidget(b);
        connect(b, &QCheckBox::clicked, this, [this, b](bool checked) { scopeClicked(b, checked); });
        switchable_.push_back(b);
        return b;
    };
    CheckBoxAlls = box("CheckBoxAlls");
    CheckBoxCurr = box("CheckBoxCurr");
    CheckBoxSell = box("CheckBoxSell");
    side->addWidget(scope);
    Button1 = new QPushButton(this);
    Button1->setObjectName("Button1");
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    switchable_.push_back(Button1);
    side->addWidget(Button1);
    side->addStretch();
    root->addLayout(side);

    // A group of labelled edits; `read` collects the edits in Apply's order.
    // EnableTransForm reaches every edit and every label but the angle's.
    auto group = [&](QWidget* tab, QBoxLayout* into, const char* name, std::initializer_list<EditSpec> specs,
                     std::vector<QLineEdit*>& read) {
        auto* g = new QGroupBox(tab);
        g->setObjectName(name);
        auto* grid = new QGridLayout(g);
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setHorizontalSpacing(2);
        int col = 0;
        for (const EditSpec& s : specs) {
            auto* l = new QLabel(QString::fromUtf8(s.label), g);
            l->setObjectName(QString("Label") + s.suffix);
            auto* e = new TransEdit(g);
            e->setText(QString::fromUtf8(s.start));
            e->setObjectName(QString("Edit") + s.suffix);
            e->setMinimumWidth(36);
            grid->addWidget(l, 0, col++);
            grid->addWidget(e, 0, col++);
            read.push_back(e);
            switchable_.push_back(e);
            if (std::string(s.suffix) != "RoA") switchable_.push_back(l);
        }
        into->addWidget(g);
        return g;
    };
    auto tab = [&](const char* name) {
        auto* w = new QWidget;
        w->setObjectName(name);
        const int index = PageControl1->addTab(w, QString());
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("TabButton%1").arg(index + 1));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(b, &QToolButton::clicked, this, [this, index] { PageControl1->setCurrentIndex(index); });
        tabRows->addWidget(b, index / 3, index % 3);
        tabButtons_[static_cast<std::size_t>(index)] = b;
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(2, 2, 2, 2);
        return std::pair{w, l};
    };
    // The captions are the word table's (WordsToTrans).
    auto [t1, l1] = tab("TabSheet1");
    group(t1, l1, "GroupBoxPP1", {{"PPx", "X=", "0"}, {"PPy", "Y=", "0"}, {"PPz", "Z=", "10"}}, edits_[0]);

    auto [t2, l2] = tab("TabSheet2");
    std::vector<QLineEdit*> normal;
    group(t2, l2, "GroupBoxRo2", {{"Rox", "X=", "0"}, {"Roy", "Y=", "250"}, {"Roz", "Z=", "100"}, {"RoA", "A=", "-10"}}, edits_[1]);
    group(t2, l2, "GroupBoxRo1", {{"Ronx", "X=", "1"}, {"Rony", "Y=", "0"}, {"Ronz", "Z=", "0"}}, normal);
    // Apply reads the centre, the normal, then the angle.
    QLineEdit* angle = edits_[1].back();
    edits_[1].pop_back();
    edits_[1].insert(edits_[1].end(), normal.begin(), normal.end());
    edits_[1].push_back(angle);

    auto [t3, l3] = tab("TabSheet3");
    group(t3, l3, "GroupBoxGo1", {{"Gox", "X=", "0"}, {"Goy", "Y=", "0"}, {"Goz", "Z=", "0"}}, edits_[2]);
    group(t3, l3, "GroupBoxGo2", {{"GoK", "K=", "2"}}, edits_[2])->setTitle("K");

    auto [t4, l4] = tab("TabSheet4");
    group(t4, l4, "GroupBoxS11", {{"S1x", "X=", "0"}, {"S1y", "Y=", "250"}, {"S1z", "Z=", "250"}}, edits_[3]);

    auto [t5, l5] = tab("TabSheet5");
    group(t5, l5, "GroupBoxS21", {{"S2x1", "X=", "0"}, {"S2y1", "Y=", "250"}, {"S2z1", "Z=", "0"}}, edits_[4]);
    group(t5, l5, "GroupBoxS22", {{"S2x2", "X=", "0"}, {"S2y2", "Y=", "0"}, {"S2z2", "Z=", "1"}}, edits_[4]);

    auto [t6, l6] = tab("TabSheet6");
    auto* plane = group(t6, l6, "GroupBoxS31", {{"S3a", "A=", "0"}, {"S3b", "B=", "0"}, {"S3c", "C=", "1"}, {"S3d", "D=", "250"}}, edits_[5]);
    auto* eq = new QLabel("Ax+By+Cz+D=0", t6);
    eq->setObjectName("LabelS3");
    l6->addWidget(eq);
    l6->addStretch();
    (void)plane;

    PageControl1->setCurrentIndex(1);
    EnableTransForm(false);
    WordsToTrans([](int line) {
        const char* text = BuiltInWord(line);
        return std::string(text ? text : "");
    });
}

void TFormTrans::WordsToTrans(const std::function<std::string(int)>& word) {
    // Texts from the word table show "&" as written.
    const auto text = [&](int line) { return QString::fromStdString(word(line)).replace('&', QStringLiteral("&&")); };
    setWindowTitle(QString::fromStdString(word(static_cast<int>(WordNo::Transformations))));
    const struct {
        const char* name;
        int line;
    } captions[] = {{"GroupBox1", 310},   {"CheckBoxAlls", 311}, {"CheckBoxCurr", 312}, {"CheckBoxSell", 313},
                    {"GroupBoxPP1", 316}, {"GroupBoxRo1", 320},  {"GroupBoxGo1", 318},  {"GroupBoxS11", 318},
                    {"GroupBoxS21", 325}, {"GroupBoxS22", 316},  {"GroupBoxS31", 326},  {"Button1", 314}};
    for (const auto& c : captions) {
        QWidget* w = findChild<QWidget*>(QLatin1String(c.name));
        if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text(c.line));
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text(c.line));
    }
    if (auto* g = findChild<QGroupBox*>(QStringLiteral("GroupBoxRo2")))
        g->setTitle(text(static_cast<int>(WordNo::Centre)) + QStringLiteral(" + ") + text(static_cast<int>(WordNo::Centre + 1)));
    const int tabs[] = {315, 317, 321, 322, 323, 324};
    for (int i = 0; i < 6; ++i) {
        PageControl1->setTabText(i, text(tabs[i]));
        tabButtons_[static_cast<std::size_t>(i)]->setText(text(tabs[i]));
    }
}

void TFormTrans::setDocument(DProj* doc, TransHost* host) {
    doc_ = doc;
    host_ = host;
    EnableTransForm(doc != nullptr && host != nullptr);
}

void TFormTrans::EnableTransForm(bool enable) {
    enabled_ = enable;
    for (QWidget* w : switchable_) w->setEnabled(enable);
    if (enable) {
        CheckBoxCurr->setChecked(false);
        CheckBoxSell->setChecked(false);
        CheckBoxAlls->setChecked(true);
    }
}

void TFormTrans::setSelectionAvailable(bool anySelected) {
    CheckBoxSell->setEnabled(enabled_ && anySelected);
    if (!anySelected && CheckBoxSell->isChecked()) {
        // To "Текущий", unless the current object is one built on others.
        (CheckBoxCurr->isEnabled() ? CheckBoxCurr : CheckBoxAlls)->setChecked(true);
        CheckBoxSell->setChecked(false);
    }
}

void TFormTrans::setCurrentAvailable(bool available) {
    CheckBoxCurr->setEnabled(enabled_ && available);
    if (!available && CheckBoxCurr->isChecked()) {
        CheckBoxAlls->setChecked(true);
        CheckBoxCurr->setChecked(false);
    }
}

void TFormTrans::scopeClicked(QCheckBox* box, bool checked) {
    if (!checked) return;
    for (QCheckBox* b : {CheckBoxAlls, CheckBoxCurr, CheckBoxSell})
        if (b != box) b->setChecked(false);
}

TransOutcome TFormTrans::Button1Click() {
    if (!doc_ || !host_) return TransOutcome::NoScope;
    const auto tab = static_cast<TransTab>(PageControl1->currentIndex() + 1);
    std::vector<std::string> texts;
    for (QLineEdit* e : tabEdits(tab)) texts.push_back(e->text().toStdString());
    const TransScope scope{CheckBoxAlls->isChecked(), CheckBoxCurr->isChecked(), CheckBoxSell->isChecked()};
    return ApplyTransformation(*doc_, tab, texts, scope, *host_);
}

void TFormTrans::toggleRollUp() {
    rolled_ = !rolled_;
    setFixedHeight(rolled_ ? 1 : ClientHeight);
    PageControl1->setVisible(!rolled_);
    for (QToolButton* b : tabButtons_) b->setVisible(!rolled_);
}

void TFormTrans::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        toggleRollUp();
    }
    QWidget::changeEvent(event);
}

void TFormTrans::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace pelmar
