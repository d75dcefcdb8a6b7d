#include "shell/ui/options_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "editing/edited_document.h"

#include "dialogs/ui/dialog_words.h"
#include "editing/editing_state.h"
#include "editing/undo_store.h"
#include "files/ui/modal_ok.h"
#include "files/ui/spin_edit.h"
#include "files/ui/text_tip.h"
#include "shell/application.h"
#include "shell/command_table.h"
#include "shell/ui/main_window.h"

namespace pelmar {

namespace {

// WordsToOptions.
constexpr WordTarget WordsToOptionsTable[] = {
    Cap("", "{88}"),
    Cap("TabSheet1", "{89}"),
    Cap("GroupBoxUndo", "{90}"),
    Cap("CheckBoxUndo", "{91}"),
    Cap("LabelUndo", "{92}"),
    Cap("GroupBoxOS", "{93}"),
    Cap("CheckBoxOS", "{94}"),
    Cap("LabelAs", "{95}"),
    Cap("ButtonAs", "{96}"),
    Cap("TabSheet2", "{97}"),
    Cap("BitBtn1", "{98}"),
    Cap("BitBtn2", "{99}"),
    Cap("BitBtn3", "{100}"),
    Cap("LabelColor", "{101}"),
    Cap("TabSheet3", "{102}"),
    Cap("GroupBoxTB", "{103}"),
    Cap("CheckBoxTBFile", "{104}"),
    Cap("CheckBoxTBBack", "{105}"),
    Cap("CheckBoxTBNewD", "{106}"),
    Cap("CheckBoxTBUndo", "{107}"),
    Cap("CheckBoxTBCopy", "{108}"),
    Cap("CheckBoxTBOpt", "{109}"),
    Cap("CheckBoxTBWin", "{110}"),
    Cap("CheckBoxTBHelp", "{111}"),
    Cap("ButtonTB", "{112}"),
    Cap("TabSheet4", "{113}"),
    Cap("LabelLangAuthor", "{114}"),
    Cap("LabelLangDate", "{115}"),
    Cap("LabelLangA", "{5}"),
    Cap("LabelLangD", "{6}"),
};

constexpr std::array<const char*, ToolGroupCount> GroupBoxes{"CheckBoxTBFile", "CheckBoxTBBack", "CheckBoxTBNewD",
                                                             "CheckBoxTBUndo", "CheckBoxTBCopy", "CheckBoxTBOpt",
                                                             "CheckBoxTBWin",  "CheckBoxTBHelp"};

template <class W>
W* Named(W* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

QColor Rgb(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
TColor ColorOf(const QColor& c) {
    return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 | static_cast<TColor>(c.blue()) << 16;
}

QIcon Glyph(const QImage& img) { return QIcon(QPixmap::fromImage(img)); }

}  // namespace

TFormOptions::TFormOptions(Application& app, OptionsServices services, QWidget* parent)
    : QDialog(parent), app_(app), sv_(std::move(services)) {
    setObjectName("FormOptions");
    if (!sv_.pickColor)
        sv_.pickColor = [this](TColor current) -> std::optional<TColor> {
            const QColor c = QColorDialog::getColor(Rgb(current), this);
            if (!c.isValid()) return std::nullopt;
            return ColorOf(c);
        };
    if (!sv_.associate)
        sv_.associate = [this](std::string& error) {
            return RegisterFileType(QCoreApplication::applicationFilePath().toStdString(), error, &app_.shell().words);
        };
    build();
    // The words as the dialog is made; its first show puts them on again.
    ApplyWords(*this, WordsToOptionsTable, BuiltInWords());
}

// Destroyed while shown, with the depth being typed: the edit is left after
// the dialog has gone, and no longer reaches it.
TFormOptions::~TFormOptions() {
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TFormOptions::build() {
    auto* root = new QVBoxLayout(this);
    pages_ = Named(new QTabWidget(this), "PageControl1");
    root->addWidget(pages_);

    // Page 1: undo, dialogs, association.
    auto* p1 = Named(new QWidget, "TabSheet1");
    auto* l1 = new QVBoxLayout(p1);
    auto* gUndo = Named(new QGroupBox(p1), "GroupBoxUndo");
    auto* lu = new QGridLayout(gUndo);
    undo_ = Named(new QCheckBox(gUndo), "CheckBoxUndo");
    auto* labelUndo = Named(new QLabel(gUndo), "LabelUndo");
    depth_ = Named(new TSpinEdit(gUndo), "SpinEditUndo");
    depth_->setMinMax(10, MaxUndoSteps);
    depth_->setSingleStep(10);
    depth_->setValue(50);
    depth_->setWords([this]() -> const WordTable& { return app_.shell().words; });
    labelUndo->setBuddy(nullptr);
    lu->addWidget(undo_, 0, 0, 1, 2);
    lu->addWidget(labelUndo, 1, 0);
    lu->addWidget(depth_, 1, 1);
    lu->setColumnStretch(2, 1);
    l1->addWidget(gUndo);
    auto* gOS = Named(new QGroupBox(p1), "GroupBoxOS");
    auto* lo = new QVBoxLayout(gOS);
    ownDialogs_ = Named(new QCheckBox(gOS), "CheckBoxOS");
    lo->addWidget(ownDialogs_);
    l1->addWidget(gOS);
    auto* labelAs = Named(new QLabel(p1), "LabelAs");
    labelAs->setWordWrap(true);
    l1->addWidget(labelAs);
    auto* buttonAs = Named(new QPushButton(p1), "ButtonAs");
    auto* la = new QHBoxLayout;
    la->addWidget(buttonAs);
    la->addStretch();
    l1->addLayout(la);
    l1->addStretch();
    pages_->addTab(p1, QString());

    // Page 2: selection colours.
    auto* p2 = Named(new QWidget, "TabSheet2");
    auto* l2 = new QHBoxLayout(p2);
    auto* buttons = new QVBoxLayout;
    move_ = Named(new QPushButton(p2), "BitBtn1");
    shape_ = Named(new QPushButton(p2), "BitBtn2");
    defaults_ = Named(new QPushButton(p2), "BitBtn3");
    for (QPushButton* b : {move_, shape_, defaults_}) {
        b->setIconSize(QSize(22, 12));
        b->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 8px;"));
        buttons->addWidget(b);
    }
    defaults_->setIcon(Glyph(DefaultColorsGlyph()));
    auto* labelColor = Named(new QLabel(p2), "LabelColor");
    labelColor->setWordWrap(true);
    buttons->addWidget(labelColor);
    buttons->addStretch();
    l2->addLayout(buttons, 1);
    sample_ = Named(new QLabel(p2), "Image1");
    sample_->setFixedSize(97, 161);
    l2->addWidget(sample_, 0, Qt::AlignTop);
    pages_->addTab(p2, QString());

    // Page 3: tool-bar groups.
    auto* p3 = Named(new QWidget, "TabSheet3");
    auto* l3 = new QVBoxLayout(p3);
    auto* gTB = Named(new QGroupBox(p3), "GroupBoxTB");
    auto* lt = new QGridLayout(gTB);
    for (int i = 0; i < ToolGroupCount; ++i) {
        QCheckBox* box = Named(new QCheckBox(gTB), GroupBoxes[static_cast<std::size_t>(i)]);
        groups_[static_cast<std::size_t>(i)] = box;
        lt->addWidget(box, i % 4, i / 4);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            app_.shell().settings.ShowTB[static_cast<std::size_t>(i)] = on;
        });
    }
    l3->addWidget(gTB);
    auto* buttonTB = Named(new QPushButton(p3), "ButtonTB");
    auto* lb = new QHBoxLayout;
    lb->addWidget(buttonTB);
    lb->addStretch();
    l3->addLayout(lb);
    l3->addStretch();
    pages_->addTab(p3, QString());

    // Page 4: language.
    auto* p4 = Named(new QWidget, "TabSheet4");
    auto* l4 = new QGridLayout(p4);
    langList_ = Named(new QComboBox(p4), "ComboBox1");
    langList_->setIconSize(QSize(16, 11));
    langList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    langList_->setMinimumContentsLength(18);
    auto* refresh = Named(new QToolButton(p4), "SpeedButton1");
    refresh->setText(QStringLiteral("↻"));
    l4->addWidget(langList_, 0, 0, 1, 2);
    l4->addWidget(refresh, 0, 2);
    l4->addWidget(Named(new QLabel(p4), "LabelLangAuthor"), 1, 0);
    author_ = Named(new QLabel(p4), "LabelLangA");
    l4->addWidget(author_, 1, 1, 1, 2);
    l4->addWidget(Named(new QLabel(p4), "LabelLangDate"), 2, 0);
    date_ = Named(new QLabel(p4), "LabelLangD");
    l4->addWidget(date_, 2, 1, 1, 2);
    l4->setColumnStretch(1, 1);
    l4->setRowStretch(3, 1);
    pages_->addTab(p4, QString());

    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "Button1");
    ok->setDefault(true);
    HoldOkForTold(ok);
    // The window has no Cancel: its close keeps what was typed, as OK does.
    CloseKeepsAsOk(this);
    auto* lok = new QHBoxLayout;
    lok->addStretch();
    lok->addWidget(ok);
    root->addLayout(lok);
    pages_->setCurrentIndex(0);

    connect(undo_, &QCheckBox::toggled, this, [this](bool on) {
        app_.shell().settings.UndoOn = on;
        app_.editing().UndoOn = on;
    });
    // The depth typed is taken when the edit is left (or stepped by the
    // arrows): in tens, within the bounds, with a tip where that is not the
    // number typed.
    connect(depth_, &TSpinEdit::numberEntered, this, [this] { depthEntered(); });
    connect(ownDialogs_, &QCheckBox::toggled, this, [this](bool on) { app_.shell().settings.OwnDialogs = on; });
    connect(buttonAs, &QPushButton::clicked, this, [this] {
        std::string error;
        if (!sv_.associate(error) && sv_.showMessage) sv_.showMessage(error);
    });
    connect(move_, &QPushButton::clicked, this, [this] { pickColor(true); });
    connect(shape_, &QPushButton::clicked, this, [this] { pickColor(false); });
    connect(defaults_, &QPushButton::clicked, this, [this] {
        app_.shell().settings.MoveColor = DefaultMoveColor;
        app_.shell().settings.ShapeColor = DefaultShapeColor;
        colorsChanged();
    });
    connect(buttonTB, &QPushButton::clicked, this, [this] {
        const auto d = DefaultToolGroups();
        app_.shell().settings.ShowTB = d;
        for (std::size_t i = 0; i < d.size(); ++i) groups_[i]->setChecked(d[i]);
    });
    connect(pages_, &QTabWidget::currentChanged, this, [this, p4](int) {
        if (pages_->currentWidget() == p4) FillLanguageList();
    });
    connect(refresh, &QToolButton::clicked, this, [this] { FillLanguageList(); });
    // The user's choice only: filling the list never changes the language.
    connect(langList_, &QComboBox::activated, this, [this](int i) { languageChosen(i); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (sv_.applyToolGroups) sv_.applyToolGroups(app_.shell().settings.ShowTB);
        accept();
    });
    colorsChanged();
}

void TFormOptions::depthEntered() {
    const std::optional<double> typed = depth_->typedNumber();
    // An empty edit is the least depth.
    const double whole = typed ? std::clamp(std::nearbyint(*typed), -1e9, 1e9) : depth_->MinValue();
    const int v = UndoDepth(static_cast<int>(whole));
    app_.shell().settings.UndoSteps = v;
    app_.editing().UndoSteps = v;
    depth_->showValue(v);
    if (typed && *typed != v) {
        const WordTable& words = app_.shell().words;
        ShowTextTip(depth_, QString::fromUtf8(words.Said("Шагов отмены от %1 до %2, по десять: взято %3.",
                                                         "Undo keeps %1 to %2 steps, in tens: %3 was taken."))
                                .arg(depth_->MinValue())
                                .arg(depth_->MaxValue())
                                .arg(v));
    }
}

void TFormOptions::WordsToOptions() { ApplyWords(*this, WordsToOptionsTable, app_.shell().words); }

void TFormOptions::settingsToControls() {
    Settings& s = app_.shell().settings;
    // Undo switched on keeps at least ten steps, also when no settings file
    // gave a depth.
    const int depth = UndoDepth(s.UndoSteps);
    s.UndoSteps = depth;
    app_.editing().UndoSteps = depth;
    undo_->setChecked(s.UndoOn);
    depth_->setValue(depth);
    ownDialogs_->setChecked(s.OwnDialogs);
    const auto show = s.ShowTB;
    for (std::size_t i = 0; i < groups_.size(); ++i) groups_[i]->setChecked(show[i]);
}

void TFormOptions::showEvent(QShowEvent* event) {
    if (firstShow_) {
        firstShow_ = false;
        WordsToOptions();
        settingsToControls();
    }
    colorsChanged();
    if (pages_->currentIndex() == 3) FillLanguageList();
    QDialog::showEvent(event);
}

void TFormOptions::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormOptions::done(int result) {
    // A depth still being typed is taken as the dialog closes.
    depth_->finishTyping();
    // Undo switched off: its files go and Undo and Redo are disabled.
    EditingState& st = app_.editing();
    if (!st.UndoOn) {
        DeleteUndoFiles(st);
        st.UndoEnabled = false;
        st.RedoEnabled = false;
        emit st.Document.undoStateChanged(false, false);
    }
    QDialog::done(result);
}

void TFormOptions::FillLanguageList() {
    ++filling_;
    const ShellState& sh = app_.shell();
    langs_ = pelmar::FillLanguageList(sh.ProgDir, sh.shippedDirs, sh.settings.LangFile);
    langList_->clear();
    for (const LanguageEntry& e : langs_.entries)
        langList_->addItem(QIcon(QPixmap::fromImage(FlagPicture(e.flag))), QString::fromStdString(e.name));
    langList_->setCurrentIndex(langs_.selected);
    --filling_;
}

void TFormOptions::languageChosen(int index) {
    if (filling_ || index < 0 || index >= static_cast<int>(langs_.entries.size())) return;
    app_.setLanguageFile(LangFileOf(app_.shell().ProgDir, langs_.entries[static_cast<std::size_t>(index)]));
    WordsToOptions();
    emit app_.languageChanged().changed();
}

void TFormOptions::pickColor(bool move) {
    TColor& c = move ? app_.shell().settings.MoveColor : app_.shell().settings.ShapeColor;
    if (const std::optional<TColor> chosen = sv_.pickColor(c)) {
        c = *chosen;
        colorsChanged();
    }
}

void TFormOptions::colorsChanged() {
    const Settings& s = app_.shell().settings;
    app_.editing().MoveColor = s.MoveColor;
    app_.editing().ShapeColor = s.ShapeColor;
    move_->setIcon(Glyph(ColorGlyph(s.MoveColor)));
    shape_->setIcon(Glyph(ColorGlyph(s.ShapeColor)));
    sample_->setPixmap(QPixmap::fromImage(
        SelectionSample(app_.document().Proj->Im.Background, s.MoveColor, s.ShapeColor)));
}

TFormOptions& ProgramOptions(Form1& window, OptionsServices services) {
    if (auto* kept = window.findChild<TFormOptions*>(QStringLiteral("FormOptions"), Qt::FindDirectChildrenOnly))
        return *kept;
    if (!services.applyToolGroups)
        services.applyToolGroups = [&window](const std::array<bool, ToolGroupCount>& show) {
            for (const ToolItem& item : ToolBarItems) {
                QAction* a = item.kind == ToolItemKind::Button ? window.toolAction(item.command)
                           : item.kind == ToolItemKind::Separator
                               ? window.findChild<QAction*>(QLatin1String(item.name))
                               : nullptr;
                if (a) a->setVisible(ToolItemVisible(item, show));
            }
        };
    if (!services.showMessage)
        services.showMessage = [&window](const std::string& text) { window.application().showMessage(text); };
    auto* form = new TFormOptions(window.application(), std::move(services), &window);
    form->setWindowFlag(Qt::Dialog);
    return *form;
}

}  // namespace pelmar
