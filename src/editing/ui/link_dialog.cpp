#include "editing/ui/link_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "drawing/word_lines.h"

namespace pelmar {

namespace {

void SetItems(QComboBox* combo, const std::vector<std::string>& items) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& s : items) combo->addItem(QString::fromStdString(s));
    combo->setCurrentIndex(0);
}

}  // namespace

LinkDialog::LinkDialog(const DProj& doc, Kind kind, const QIcon& icon, QWidget* parent)
    : QDialog(parent), doc_(doc), kind_(kind) {
    setObjectName("FormNewGr");
    setWindowTitle(QString::fromUtf8("Новый объект"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setFixedSize(16, 16);
    if (!icon.isNull()) image->setPixmap(icon.pixmap(16, 16));
    auto* title = new QLabel(QString::fromStdString(LinkTitle(kind)), this);
    title->setObjectName("Label1");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    head->addWidget(image);
    head->addWidget(title, 1);
    layout->addLayout(head);

    const int used = LinkGroupCount(kind);
    for (int g = 1; g <= 8; ++g) {
        auto* box = new QGroupBox(this);
        box->setObjectName(QString("GroupBox%1").arg(g));
        auto* row = new QHBoxLayout(box);
        for (int level = 1; level <= 5; ++level) {
            auto* c = new QComboBox(box);
            c->setObjectName(QString("ComboBox%1%2").arg(g).arg(level));
            c->setFixedWidth(120);
            c->addItem(QString());
            row->addWidget(c);
            combos_[static_cast<std::size_t>(g - 1)][static_cast<std::size_t>(level - 1)] = c;
            // The user's choice; filling a list by code changes nothing.
            if (level == 1) connect(c, &QComboBox::activated, this, [this, g] { objectChosen(g); });
            else connect(c, &QComboBox::activated, this, [this, g, level] { elementChosen(g, level); });
        }
        groups_[static_cast<std::size_t>(g - 1)] = box;
        layout->addWidget(box);
        if (g > used) {
            box->setEnabled(false);
            box->setVisible(false);
            continue;
        }
        box->setTitle(QString::fromStdString(LinkGroupCaption(kind, g)));
        DLink& link = links_[static_cast<std::size_t>(g - 1)];
        SetItems(combo(g, 1), LinkObjectItems(doc_));
        ReadObjectText(combo(g, 1)->currentText().toStdString(), link);
        fillElements(g, 2);
    }

    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton("Ok", this);
    ok_->setObjectName("Button1");
    ok_->setEnabled(false);
    auto* independent = new QPushButton(QString::fromUtf8("Независимый"), this);
    independent->setObjectName("Button2");
    auto* cancel = new QPushButton(QString::fromUtf8(BuiltInWord(WordNo::Cancel)), this);
    cancel->setObjectName("Button3");
    buttons->addStretch(1);
    for (QPushButton* b : {ok_, independent, cancel}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] { finish(LinkResult::Ok); });
    connect(independent, &QPushButton::clicked, this, [this] { finish(LinkResult::Independent); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(LinkResult::Cancel); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QComboBox* LinkDialog::combo(int group, int level) const {
    if (group < 1 || group > 8 || level < 1 || level > 5) return nullptr;
    return combos_[static_cast<std::size_t>(group - 1)][static_cast<std::size_t>(level - 1)];
}

void LinkDialog::fillElements(int g, int from) {
    DLink& link = links_[static_cast<std::size_t>(g - 1)];
    for (int level = from; level <= 5; ++level) {
        QComboBox* c = combo(g, level);
        const std::vector<std::string> items = LinkElementItems(ParentKindOf(link, level));
        c->setEnabled(!items.empty());
        SetItems(c, items.empty() ? std::vector<std::string>{""} : items);
        ReadElementText(c->currentText().toStdString(), link, level);
    }
}

void LinkDialog::objectChosen(int g) {
    ReadObjectText(combo(g, 1)->currentText().toStdString(), links_[static_cast<std::size_t>(g - 1)]);
    fillElements(g, 2);
    bool any = false;
    for (const DLink& l : links_) any = any || l.linked();
    ok_->setEnabled(any);
}

void LinkDialog::elementChosen(int g, int level) {
    ReadElementText(combo(g, level)->currentText().toStdString(), links_[static_cast<std::size_t>(g - 1)], level);
    if (level < 5) fillElements(g, level + 1);
}

void LinkDialog::finish(LinkResult r) {
    result_ = r;
    answered_ = true;
    if (r == LinkResult::Cancel) reject();
    else accept();
}

void LinkDialog::keyPressEvent(QKeyEvent* event) {
    // Escape cancels, as everywhere on the desktop; the close box answers "independent".
    if (event->key() == Qt::Key_Escape) {
        finish(LinkResult::Cancel);
        return;
    }
    QDialog::keyPressEvent(event);
}

void LinkDialog::closeEvent(QCloseEvent* event) {
    // The close box: an independent object.
    if (!answered_) result_ = LinkResult::Independent;
    QDialog::closeEvent(event);
}

LinkResult LinkDialog::Ask(const DProj& doc, Kind kind, const QIcon& icon, QWidget* parent, NewLinks& links) {
    LinkDialog d(doc, kind, icon, parent);
    d.exec();
    links = d.links();
    return d.result();
}

}  // namespace pelmar
