#include "dialogs/ui/anim_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>
#include <optional>

#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/object_dialog.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

// The caption of a window without buttons, drawn by the window itself: a
// window manager keeps a close box in the title bar it draws (openbox shows
// one whatever the window asks), so the window asks for none and draws its
// title as a bar of its own.  Dragging the bar moves the window.
class CaptionBar : public QWidget {
public:
    explicit CaptionBar(QWidget* window) : QWidget(window), window_(window) {
        setObjectName("CaptionBar");
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        setFixedHeight(fontMetrics().height() + 8);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(window_->windowTitle()) + 16, height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const bool active = window_->isActiveWindow();
        p.fillRect(rect(), palette().color(active ? QPalette::Highlight : QPalette::Mid));
        p.setPen(palette().color(active ? QPalette::HighlightedText : QPalette::Window));
        p.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                   fontMetrics().elidedText(window_->windowTitle(), Qt::ElideRight, width() - 16));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        // The window manager moves the window where it can; else the bar
        // follows the mouse itself.
        QWindow* handle = window_->windowHandle();
        grab_ = handle && handle->startSystemMove() ? std::nullopt
                                                   : std::optional(event->globalPosition().toPoint() - window_->pos());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (grab_ && (event->buttons() & Qt::LeftButton)) window_->move(event->globalPosition().toPoint() - *grab_);
    }
    void mouseReleaseEvent(QMouseEvent*) override { grab_.reset(); }

private:
    QWidget* window_;
    std::optional<QPoint> grab_;
};

}  // namespace

// No button in the caption: the window is left by "Ok" alone.  The window
// manager draws no caption (it would put a close box there that does
// nothing); the window draws its own, with a line round the window.
TFormAnim::TFormAnim(const QString& objectName, const QString& caption, std::vector<Row> rows, DialogCommit* commit,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), rows_(std::move(rows)), commit_(commit) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(1, 1, 1, 1);
    frame->setSpacing(0);
    frame->setSizeConstraint(QLayout::SetFixedSize);
    caption_ = new CaptionBar(this);
    frame->addWidget(caption_);
    auto* body = new QWidget(this);
    frame->addWidget(body);
    auto* grid = new QGridLayout(body);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        // Edit1 .. Edit9, then EditA.
        const QString n = i < 9 ? QString::number(i + 1) : QString(QChar('A' + static_cast<int>(i) - 9));
        auto* label = new QLabel(r.label, body);
        label->setObjectName("Label" + n);
        auto* e = new QLineEdit(body);
        e->setObjectName("Edit" + n);
        e->setMinimumWidth(260);
        ObjectDialog::GuardOver(parent, e);
        e->setText(r.enabled && r.field ? QString::fromStdString(*r.field) : QString());
        label->setEnabled(r.enabled);
        e->setEnabled(r.enabled);
        label->setVisible(r.visible);
        e->setVisible(r.visible);
        grid->addWidget(label, static_cast<int>(i), 0, Qt::AlignRight);
        grid->addWidget(e, static_cast<int>(i), 1);
        labels_.push_back(label);
        edits_.push_back(e);
    }
    auto* button = new QPushButton("Ok", body);
    button->setObjectName("Button1");
    button->setDefault(true);
    grid->addWidget(button, static_cast<int>(rows_.size()), 1, Qt::AlignRight);
    connect(button, &QPushButton::clicked, this, &TFormAnim::ok);
}

void TFormAnim::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFormAnim::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The caption shows the window's state and its title.
    if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange)
        if (caption_) caption_->update();
}

void TFormAnim::ok() {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].field && (rows_[i].enabled || rows_[i].storeAlways))
            *rows_[i].field = edits_[i]->text().toStdString();
    if (commit_) commit_->ApplyObject(true);
    permitClose_ = true;
    accept();
}

void TFormAnim::closeEvent(QCloseEvent* event) {
    if (permitClose_) event->accept();
    else event->ignore();
}

// Esc is no way out either.
void TFormAnim::reject() {
    if (permitClose_) QDialog::reject();
}

namespace {

using Row = TFormAnim::Row;

QString W(const char* pattern, const WordTable& words) { return WordText(pattern, words); }

}  // namespace

TFormAnim* NewFormAnimPo(DPoint& p, const WordTable& words, DialogCommit& commit, QWidget* parent) {
    // WordsToAnimPo.
    return new TFormAnim("FormAnimPo", W("{650}", words),
                         {{"X=", &p.Anim[0], p.X.e},
                          {"Y=", &p.Anim[1], p.Y.e},
                          {"Z=", &p.Anim[2], p.Z.e},
                          {W("{651}=", words), &p.Anim[3], p.LabelAngle.e}},
                         &commit, parent);
}

TFormAnim* NewFormAnimCi(DCircle& c, const WordTable& words, DialogCommit& commit, QWidget* parent) {
    // WordsToAnimCi.
    return new TFormAnim("FormAnimCi", W("{652}", words),
                         {{"A=", &c.Anim[0], c.A.e},
                          {"B=", &c.Anim[1], c.B.e},
                          {W("{651}=", words), &c.Anim[2], c.Tilt.e},
                          {W("{653}, {651}1=", words), &c.Anim[3], c.Arc1.e},
                          {W("{653}, {651}2=", words), &c.Anim[4], c.Arc2.e},
                          {W("R1, {651}=", words), &c.Anim[5], c.R[1].Angle.e},
                          {W("R2, {651}=", words), &c.Anim[6], c.R[2].Angle.e},
                          {W("R3, {651}=", words), &c.Anim[7], c.R[3].Angle.e}},
                         &commit, parent);
}

TFormAnim* NewFormAnimX1(WorkingCopies& work, int g, const WordTable& words, QWidget* parent) {
    std::vector<Row> rows;
    if (g >= 1 && g <= 6) {
        // Bounds X1, X2, Y1, Y2 of the graph; "Ok" stores all four.
        auto& t = work.CurXOY.Texts;
        const auto at = static_cast<std::size_t>(g);
        const bool cartesian = g == 1 || g == 2 || g == 6;
        const QString a = cartesian ? "X1=" : g == 5 ? "t1=" : QString::fromUtf8("α=");
        const QString b = cartesian ? "X2=" : g == 5 ? "t2=" : QString::fromUtf8("β=");
        rows = {{a, &t[0][at], true, true, true},
                {b, &t[1][at], true, true, true},
                {"Y1=", &t[2][at], cartesian, cartesian, true},
                {"Y2=", &t[3][at], cartesian, cartesian, true}};
    } else if (g == 13) {
        auto& t = work.CurXZ.BoundTexts;
        rows = {{"t1=", &t[0], true}, {"t2=", &t[1], true}, {"Y1=", nullptr, false, false}, {"Y2=", nullptr, false, false}};
    }
    return new TFormAnim("FormAnimX1", W(g == 13 ? "{655}" : "{654}", words), std::move(rows), nullptr, parent);
}

TFormAnim* NewFormAnimX2(WorkingCopies& work, int g, const WordTable& words, QWidget* parent) {
    // WordsToAnimX2.
    constexpr const char* labels[10] = {"{657}=",    "{539}, X=", "{539}, Y=", "{539}, Z=", "{540}, X=",
                                        "{540}, Y=", "{540}, Z=", "{315}, X=", "{315}, Y=", "{315}, Z="};
    // Whether row i moves by the rotation (else the translation).
    auto rotation = [](std::size_t i) { return i < 7; };
    std::vector<Row> rows;
    if (g >= 1 && g <= 6) {
        // Texts 4..8 of the graph: angle, centre X, Y, translation X, Y.
        const auto at = static_cast<std::size_t>(g);
        const DGraphMove& m = work.CurXOY.Move[at];
        constexpr int text[10] = {4, 5, 6, -1, -1, -1, -1, 7, 8, -1};
        for (std::size_t i = 0; i < 10; ++i) {
            std::string* field = text[i] < 0 ? nullptr : &work.CurXOY.Texts[static_cast<std::size_t>(text[i])][at];
            const bool on = rotation(i) ? m.Rotated.v : m.Moved.v;
            rows.push_back({W(labels[i], words), field, field && on});
        }
    } else if (g >= 11 && g <= 14) {
        const auto at = static_cast<std::size_t>(g - 10);
        const DGraphMove& m = work.CurXZ.Move[at];
        for (std::size_t i = 0; i < 10; ++i)
            rows.push_back({W(labels[i], words), &work.CurXZ.Texts[i][at], rotation(i) ? m.Rotated.v : m.Moved.v});
    }
    return new TFormAnim("FormAnimX2", W("{656}", words), std::move(rows), nullptr, parent);
}

TFormAnim* NewFormAnimX3(WorkingCopies& work, int g, const WordTable& words, DialogCommit& commit,
                         QWidget* parent) {
    // WordsToAnimX3.  The value replaces every "$" of the equation.
    std::vector<Row> rows;
    if (g >= 1 && g <= 6) {
        auto& t = work.CurXOY.Texts7;
        rows = {{"$=", &t[static_cast<std::size_t>(g)], true}, {"$=", &t[7], true, g == 5, true}};
    }
    return new TFormAnim("FormAnimX3", W("{658}", words), std::move(rows), &commit, parent);
}

TFormAnim* NewFormAnimZK(WorkingCopies& work, int kind, const WordTable& words, DialogCommit& commit,
                         QWidget* parent) {
    std::vector<Row> rows;
    const Row hidden{"", nullptr, false, false};
    auto round = [&](auto& body) {
        // Height and radius always; an additional section while it is on.
        rows = {{"H=", &body.Anim[0], true},
                {"R=", &body.Anim[1], true},
                {W("{651}1=", words), &body.Anim[2], body.SecOn[3].v},
                {W("{651}2=", words), &body.Anim[3], body.SecOn[4].v}};
    };
    auto pyramid = [&](auto& body) { rows = {{"H=", &body.Anim, body.HeightLine.Length.e}, hidden, hidden, hidden}; };
    auto prism = [&](auto& body) {
        rows = {{"P1=", &body.Anim[0], body.EdgeX.e},
                {"P2=", &body.Anim[1], body.EdgeY.e},
                {"P3=", &body.Anim[2], body.EdgeZ.e},
                hidden};
    };
    switch (kind) {
        case 0: rows = {{"R=", &work.CurSf.Anim, work.CurSf.Radius.e}, hidden, hidden, hidden}; break;
        case 1: round(work.CurZi); break;
        case 2: round(work.CurKo); break;
        case 3: pyramid(work.CurPi3); break;
        case 4: pyramid(work.CurPi4); break;
        case 5: prism(work.CurPr3); break;
        case 6: prism(work.CurPr4); break;
        default: break;
    }
    // "Анимация: "<the body's word>"", the body words standing in kind order.
    QString caption = W("{637}", words);
    if (kind >= 0 && kind <= 6)
        caption += ": \"" + QString::fromStdString(words.WordLine(WordNo::FirstSolidName + kind)) + "\"";
    return new TFormAnim("FormAnimZK", caption, std::move(rows), &commit, parent);
}

}  // namespace pelmar
