#include "editing/ui/picture_window.h"

#include <algorithm>
#include <cmath>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/selection.h"
#include "platform/side_file.h"

namespace pelmar {

// The raster view of the picture: the visible part the redraw presents,
// with the ruler's rubber line painted over it, so that nothing of the line
// stays behind when it moves.
class PaintBox : public QWidget {
public:
    explicit PaintBox(PictureWindow& owner) : QWidget(nullptr), owner_(owner) {
        setObjectName("PaintBox");
        setCursor(Qt::CrossCursor);
        setMouseTracking(true);
        setFocusPolicy(Qt::ClickFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void setView(const QImage& view, int left, int top) {
        view_ = view;
        left_ = left;
        top_ = top;
        update();
    }
    void setRubber(bool on, QLine line) {
        rubberOn_ = on;
        rubber_ = line;
        update();
    }
    bool rubberOn() const { return rubberOn_; }
    QLine rubber() const { return rubber_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        if (!view_.isNull()) p.drawImage(left_, top_, view_);
        if (rubberOn_) {
            // The inverse of the picture under it, as the line always showed.
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.setPen(QPen(Qt::white, 1));
            p.drawLine(rubber_);
        }
    }
    void mousePressEvent(QMouseEvent* e) override { forward(0, e); }
    void mouseMoveEvent(QMouseEvent* e) override { forward(1, e); }
    void mouseReleaseEvent(QMouseEvent* e) override { forward(2, e); }
    // The scroll box scrolls; the picture itself takes no wheel.
    void wheelEvent(QWheelEvent* e) override {
        if (QWidget* viewport = parentWidget()) QCoreApplication::sendEvent(viewport, e);
    }

private:
    void forward(int what, QMouseEvent* e) {
        MouseInput in;
        in.x = static_cast<int>(e->position().x());
        in.y = static_cast<int>(e->position().y());
        in.left = e->buttons() & Qt::LeftButton;
        in.right = e->buttons() & Qt::RightButton;
        in.shift = e->modifiers() & Qt::ShiftModifier;
        owner_.pictureMouse(what, in);
    }

    PictureWindow& owner_;
    QImage view_;
    int left_ = 0, top_ = 0;
    bool rubberOn_ = false;
    QLine rubber_;
};

// The scroll box: the wheel moves the picture one pixel per step and never zooms.
class ScrollBox : public QScrollArea {
public:
    ScrollBox() {
        setObjectName("ScrollBox1");
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }

protected:
    void wheelEvent(QWheelEvent* e) override {
        const int dy = e->angleDelta().y();
        if (dy != 0) verticalScrollBar()->setValue(verticalScrollBar()->value() + (dy < 0 ? 1 : -1));
        e->accept();
    }
};

namespace {

// Small tool pictures of our own, drawn at 23 x 23.
QIcon ToolIcon(int which) {
    QPixmap pm(23, 23);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 40, 120), 1.6));
    switch (which) {
        case 0:  // ruler
            p.drawRect(3, 8, 17, 7);
            for (int x = 6; x < 20; x += 3) p.drawLine(x, 8, x, 11);
            break;
        case 1:  // draw
            p.drawLine(4, 19, 17, 6);
            p.drawLine(17, 6, 20, 9);
            break;
        case 2:  // select
            p.setPen(QPen(QColor(20, 40, 120), 1.2, Qt::DashLine));
            p.drawRect(3, 3, 16, 16);
            break;
        case 3:  // edit
            p.drawLine(11, 3, 11, 19);
            p.drawLine(3, 11, 19, 11);
            p.drawLine(11, 3, 8, 6);
            p.drawLine(11, 3, 14, 6);
            p.drawLine(19, 11, 16, 8);
            p.drawLine(19, 11, 16, 14);
            break;
        case 4: p.setBrush(QColor(20, 40, 120)); p.drawEllipse(QPointF(11.5, 11.5), 3, 3); break;  // point
        case 5: p.drawLine(4, 18, 19, 5); break;                                                 // segment
        case 6: p.drawEllipse(3, 6, 17, 11); break;                                              // ellipse
        case 7: p.drawPolygon(QPolygon({QPoint(4, 18), QPoint(11, 4), QPoint(19, 18)})); break;  // triangle
        case 8: p.drawPolygon(QPolygon({QPoint(3, 17), QPoint(7, 5), QPoint(19, 6), QPoint(17, 18)})); break;
        case 9:  // coordinate system
            p.drawLine(3, 16, 20, 16);
            p.drawLine(7, 3, 7, 20);
            break;
        case 10: p.drawRect(3, 3, 16, 16); p.fillRect(6, 6, 11, 11, QColor(20, 40, 120, 90)); break;
        case 11: p.setPen(QPen(QColor(20, 40, 120), 1.2, Qt::DotLine)); p.drawRect(3, 3, 16, 16); break;
        case 12: p.drawEllipse(4, 4, 14, 14); p.drawLine(8, 11, 11, 15); p.drawLine(11, 15, 16, 7); break;
        case 13: p.drawEllipse(4, 4, 14, 14); p.drawLine(7, 7, 15, 15); p.drawLine(15, 7, 7, 15); break;
        default:  // copy
            p.drawRect(3, 6, 11, 13);
            p.drawRect(8, 3, 11, 13);
            break;
    }
    return QIcon(pm);
}

}  // namespace

PictureWindow::PictureWindow(EditingState& st, DrawingState& drawing, TextRole& texts, CommandRole& commands,
                             std::function<bool(Kind)> newObjectEnabled, QWidget* parent)
    : QWidget(parent),
      st_(st),
      drawing_(drawing),
      texts_(texts),
      commands_(commands),
      newObjectEnabled_(std::move(newObjectEnabled)),
      tools_(st, *this) {
    setObjectName("FormShowIm");
    resize(519, 381);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setIconSize(QSize(23, 23));
    layout->addWidget(toolBar_);

    auto* toolGroup = new QActionGroup(this);
    // Each button's hint is the word-table line 332 on in the buttons' order
    // (WordsToShowIm), its icon the image of the same place.
    line_ = addTool("TBLine", 0, true);
    adds_ = addTool("TBAdds", 1, true);
    sell_ = addTool("TBSell", 2, true);
    edit_ = addTool("TBEdit", 3, true);
    for (QAction* a : {line_, adds_, sell_, edit_}) toolGroup->addAction(a);
    toolBar_->addSeparator()->setObjectName("ToolButton4");
    auto* kindGroup = new QActionGroup(this);
    const char* kindNames[] = {"TBPo", "TBLi", "TBCi", "TBTr", "TBKv", "TBXY"};
    for (int i = 0; i < 6; ++i) {
        kinds_[static_cast<std::size_t>(i)] = addTool(kindNames[i], 4 + i, true);
        kindGroup->addAction(kinds_[static_cast<std::size_t>(i)]);
    }
    toolBar_->addSeparator()->setObjectName("ToolButton1");
    selAll_ = addTool("TBSelAlls", 10, false);
    selNone_ = addTool("TBSelNone", 11, false);
    selCurY_ = addTool("TBSelCurY", 12, false);
    selCurN_ = addTool("TBSelCurN", 13, false);
    toolBar_->addSeparator()->setObjectName("ToolButton2");
    copy_ = addTool("TBCopy", 14, false);

    connect(adds_, &QAction::triggered, this, [this] { EnableDrawTools(true); });
    for (QAction* a : {line_, sell_, edit_}) connect(a, &QAction::triggered, this, [this] { EnableDrawTools(false); });
    connect(selAll_, &QAction::triggered, this, [this] { selectionButton(SelectAllObjects); });
    connect(selNone_, &QAction::triggered, this, [this] { selectionButton(SelectNoneCommand); });
    connect(selCurY_, &QAction::triggered, this, [this] { selectionButton(SelectCurrentCommand); });
    connect(selCurN_, &QAction::triggered, this, [this] { selectionButton(DeselectCurrentCommand); });
    connect(copy_, &QAction::triggered, this, [this] { copyPicture(); });

    scroll_ = new ScrollBox;
    paintBox_ = new PaintBox(*this);
    scroll_->setWidget(paintBox_);
    scroll_->setWidgetResizable(false);
    layout->addWidget(scroll_, 1, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(0);
    for (QScrollBar* bar : {scroll_->horizontalScrollBar(), scroll_->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { present(); });

    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar1");
    progress_->setRange(0, 100);
    progress_->setVisible(false);
    layout->addWidget(progress_);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar1");
    statusBar_->setSizeGripEnabled(false);
    const int widths[] = {50, 50, 100, 100, 150, 100, 100};
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(statusBar_);
        panels_[i]->setObjectName(QString("Panel%1").arg(i));
        panels_[i]->setMinimumWidth(widths[i]);
        statusBar_->addWidget(panels_[i], i + 1 == panels_.size() ? 1 : 0);
    }
    layout->addWidget(statusBar_);

    SetDrawWindowMode(0);
    paintBox_->hide();
}

PictureWindow::~PictureWindow() = default;

QAction* PictureWindow::addTool(const char* name, int place, bool checkable) {
    const QString hint = QString::fromUtf8(BuiltInWord(WordNo::FirstToolHint + place));
    QAction* a = toolBar_->addAction(ToolIcon(place), hint);
    a->setObjectName(name);
    a->setToolTip(hint);
    a->setCheckable(checkable);
    return a;
}

QAction* PictureWindow::toolButton(const char* name) const { return findChild<QAction*>(name); }
QScrollArea* PictureWindow::scrollBox() const { return scroll_; }
QWidget* PictureWindow::paintBox() const { return paintBox_; }

RedrawHost PictureWindow::redrawHost() { return RedrawHost(texts_, *this, *this, commands_, *this); }

void PictureWindow::redraw(bool full) {
    const RedrawHost host = redrawHost();
    RepaintProject(st_.Doc(), drawing_, host, RedrawMode::Window, full);
    RunPendingRedraw(st_.Doc(), drawing_, host);
}

void PictureWindow::present() {
    if (documentShown_) PresentBackBuffer(st_.Doc(), drawing_, *this);
}

void PictureWindow::SetDrawWindowMode(int mode) {
    if (mode != 0) {
        for (QAction* a : {line_, adds_, sell_, edit_, selAll_, selNone_, selCurY_, selCurN_, copy_}) a->setEnabled(true);
        if (!line_->isChecked() && !adds_->isChecked() && !sell_->isChecked() && !edit_->isChecked())
            adds_->setChecked(true);
        documentShown_ = true;
        scroll_->show();
        paintBox_->show();
        EnableDrawTools(adds_->isChecked());
        FitScrollBox();
        return;
    }
    for (QAction* a : {line_, adds_, sell_, edit_}) a->setEnabled(false);
    kinds_[0]->setChecked(true);
    for (QAction* a : kinds_) a->setEnabled(false);
    for (QAction* a : {selAll_, selNone_, selCurY_, selCurN_, copy_}) a->setEnabled(false);
    documentShown_ = false;
    scroll_->hide();
    // Without a picture the status bar shows no mouse place, length or message.
    for (std::size_t i = 0; i < panels_.size(); ++i) setStatusPanel(static_cast<int>(i), i == 0 ? "X=" : i == 1 ? "Y=" : "");
    setImageCaption(word(WordNo::ImageCaption));
}

void PictureWindow::EnableDrawTools(bool on) {
    static constexpr Kind order[] = {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy};
    if (!on) {
        for (QAction* a : kinds_) a->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < kinds_.size(); ++i) kinds_[i]->setEnabled(!newObjectEnabled_ || newObjectEnabled_(order[i]));
    // A pressed button that became disabled passes the pressed state on, once round.
    for (std::size_t i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked() && !kinds_[i]->isEnabled()) kinds_[(i + 1) % kinds_.size()]->setChecked(true);
}

void PictureWindow::FitScrollBox() {
    const DProj& doc = st_.Doc();
    // In 64 bits, and no larger than a widget can be, whatever the size and
    // zoom a document holds.
    const auto side = [&doc](std::int32_t picture) {
        const long double v = std::nearbyint(static_cast<long double>(picture) * doc.Zoom / 100);
        return static_cast<int>(std::clamp<long double>(v, 1, QWIDGETSIZE_MAX - 8));
    };
    const int w = side(doc.Im.Width), h = side(doc.Im.Height);
    const int W = w + 4, H = h + 4;
    const int cw = width();
    const int ch = height() - statusBar_->sizeHint().height() - toolBar_->sizeHint().height() -
                   (progress_->isVisible() ? progress_->height() : 0);
    const bool vBar = scroll_->verticalScrollBar()->isVisible(), hBar = scroll_->horizontalScrollBar()->isVisible();
    int s = 0;
    if (vBar) s = scroll_->verticalScrollBar()->sizeHint().width();
    if (hBar) s = scroll_->horizontalScrollBar()->sizeHint().height();
    const bool wide = cw < W, tall = ch < H;
    int bw, bh;
    if (!wide && !tall) {
        bw = W;
        bh = H;
    } else if (wide && tall) {
        bw = cw;
        bh = ch;
    } else if (wide) {
        bw = cw - s < W ? cw : W;
        bh = ch - s < H ? ch : H + s;
    } else {
        bw = cw - s < W ? cw : W + s;
        bh = ch - s < H ? ch : H;
    }
    scroll_->setFixedSize(std::max(bw, 1), std::max(bh, 1));
    paintBox_->resize(w, h);
}

void PictureWindow::WordsToShowIm() {
    QAction* const order[] = {line_,   adds_,     sell_,     edit_,     kinds_[0], kinds_[1], kinds_[2], kinds_[3],
                              kinds_[4], kinds_[5], selAll_, selNone_, selCurY_, selCurN_, copy_};
    WordNo line = WordNo::FirstToolHint;
    for (QAction* action : order) {
        const std::string w = texts_.word(line);
        line = line + 1;
        if (w.empty()) continue;
        const QString text = QString::fromStdString(w);
        action->setToolTip(text);
        action->setText(QString(text).replace('&', "&&"));
    }
    if (!documentShown_) setImageCaption(word(WordNo::ImageCaption));
}

void PictureWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (documentShown_) FitScrollBox();
}

void PictureWindow::selectionButton(void (*command)(EditingState&)) {
    command(st_);
}

void PictureWindow::copyPicture() {
    st_.Document.ensureDrawn();
    const bool vector = st_.Doc().Im.PicMode == 1;
    const QImage& picture = vector && !drawing_.MetaImage.isNull() ? drawing_.MetaImage : drawing_.DrawBitmap;
    auto* data = new QMimeData;
    data->setImageData(picture);
    if (vector && drawing_.MetaWritten && !drawing_.MetaPath.empty()) {
        // The program's own metafile, read through the one reader.
        constexpr std::size_t MaxClipboardMetafile = std::size_t{256} << 20;
        const SideFileBytes meta = ReadSideFile(drawing_.MetaPath, MaxClipboardMetafile, SideFileCap::Refuse);
        if (meta.state == SideFileBytes::State::Read)
            data->setData("image/x-emf", QByteArray(meta.bytes.data(), static_cast<qsizetype>(meta.bytes.size())));
    }
    QApplication::clipboard()->setMimeData(data);
}

// ---------------------------------------------------------------------------
// Commands

namespace {
struct ToolCommand {
    EditingCommand command;
    const char* name;
};
constexpr ToolCommand kToolCommands[] = {
    {EditingCommand::DrawLine, "TBLine"},      {EditingCommand::DrawTools, "TBAdds"},
    {EditingCommand::SelectTool, "TBSell"},    {EditingCommand::EditTool, "TBEdit"},
    {EditingCommand::SelectAll, "TBSelAlls"},  {EditingCommand::SelectNone, "TBSelNone"},
    {EditingCommand::SelectCurrent, "TBSelCurY"}, {EditingCommand::DeselectCurrent, "TBSelCurN"},
    {EditingCommand::CopyPicture, "TBCopy"},
};
}  // namespace

void PictureWindow::setCommandEnabled(EditingCommand c, bool on) {
    for (const ToolCommand& t : kToolCommands)
        if (t.command == c) toolButton(t.name)->setEnabled(on);
}

bool PictureWindow::isDown(EditingCommand c) const {
    for (const ToolCommand& t : kToolCommands)
        if (t.command == c) return toolButton(t.name)->isChecked();
    return false;
}

void PictureWindow::setDown(EditingCommand c, bool down) {
    // One of the four tools is always down: a tool is raised only by
    // pressing another.
    for (const ToolCommand& t : kToolCommands)
        if (t.command == c && (down || c > EditingCommand::EditTool)) toolButton(t.name)->setChecked(down);
}

// ---------------------------------------------------------------------------
// Roles

void PictureWindow::processEvents() { QCoreApplication::processEvents(); }

void PictureWindow::showProgress(const std::string& text) {
    setStatusPanel(2, text);
    progress_->setValue(0);
    progress_->setVisible(true);
    progress_->repaint();
}

void PictureWindow::setProgress(int position) {
    progress_->setValue(position);
    progress_->repaint();
}

void PictureWindow::hideProgress() {
    progress_->setVisible(false);
    setStatusPanel(2, "");
}

void PictureWindow::setImageCaption(const std::string& caption) {
    caption_ = caption;
    setWindowTitle(QString::fromStdString(caption));
}

void PictureWindow::setStatusPanel(int panel, const std::string& text) {
    if (panel < 0 || panel >= static_cast<int>(panels_.size())) return;
    panels_[static_cast<std::size_t>(panel)]->setText(QString::fromStdString(text));
}

std::string PictureWindow::statusText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
    return panels_[static_cast<std::size_t>(panel)]->text().toStdString();
}

ViewPort PictureWindow::imageView() {
    const QWidget* vp = scroll_->viewport();
    return {scroll_->horizontalScrollBar()->value(), scroll_->verticalScrollBar()->value(), vp->width(),
            vp->height()};
}

void PictureWindow::showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) {
    if (paintBox_->size() != QSize(boxWidth, boxHeight)) paintBox_->resize(boxWidth, boxHeight);
    paintBox_->setView(view, left, top);
    paintBox_->show();
}

// ---------------------------------------------------------------------------
// Mouse tools

void PictureWindow::pictureMouse(int what, const MouseInput& in) {
    if (!documentShown_) return;
    st_.Document.ensureStored();  // the tools hit, move and reload the records the redraw stores into
    if (what == 0) tools_.press(in);
    else if (what == 1) tools_.move(in);
    else tools_.release(in);
}

void PictureWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && documentShown_) {
        emit deleteRequested();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

MouseTool PictureWindow::tool() const {
    if (line_->isChecked()) return MouseTool::Ruler;
    if (adds_->isChecked()) return MouseTool::Draw;
    if (sell_->isChecked()) return MouseTool::Select;
    if (edit_->isChecked()) return MouseTool::Edit;
    return MouseTool::None;
}

Kind PictureWindow::drawKind() const {
    static constexpr Kind order[] = {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy};
    for (std::size_t i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked()) return order[i];
    return Kind::po;
}

void PictureWindow::setRubberLine(bool on, int x1, int y1, int x2, int y2) {
    paintBox_->setRubber(on, QLine(x1, y1, x2, y2));
}

std::string PictureWindow::wordLine(int line) {
    std::string w = texts_.wordLine(line);
    if (!w.empty()) return w;
    const char* builtIn = BuiltInWord(line);
    return builtIn ? builtIn : "";
}

// The status bar writes its numbers as the dialogs show them, with a decimal
// comma, whatever the machine's locale.
char PictureWindow::decimalSeparator() { return ','; }

}  // namespace pelmar
