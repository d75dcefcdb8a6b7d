// The new-object link dialog: for each defining point of the object about to
// be created, free or bound to an element of an existing object, chosen in
// up to five cascading combos per point.  Run modally by the New tool
// buttons; the caller reads result() and links() and hands them to
// ApplyNewObjectLinks.
#pragma once

#include <QDialog>
#include <array>

#include "editing/link_choice.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace pelmar {

class LinkDialog : public QDialog {
    Q_OBJECT
public:
    // icon: the kind's picture (may be null).
    LinkDialog(const DProj& doc, Kind kind, const QIcon& icon, QWidget* parent = nullptr);

    LinkResult result() const { return result_; }
    const NewLinks& links() const { return links_; }
    QComboBox* combo(int group, int level) const;

    // The dialog run as the New tool buttons run it: modal, then its answer.
    static LinkResult Ask(const DProj& doc, Kind kind, const QIcon& icon, QWidget* parent, NewLinks& links);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void objectChosen(int g);
    void elementChosen(int g, int level);
    void fillElements(int g, int level);
    void finish(LinkResult r);

    const DProj& doc_;
    Kind kind_;
    LinkResult result_ = LinkResult::Independent;
    bool answered_ = false;
    NewLinks links_{};
    std::array<QGroupBox*, 8> groups_{};
    std::array<std::array<QComboBox*, 5>, 8> combos_{};
    QPushButton* ok_ = nullptr;
};

}  // namespace pelmar
