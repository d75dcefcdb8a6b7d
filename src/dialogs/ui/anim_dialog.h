// The animation formula dialogs: modal, one edit per formula of the current
// object, left only by "Ok" (no Cancel; the close box, Esc and Alt+F4 are
// refused).  "Ok" stores the enabled edits as typed and commits.
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "dialogs/dialog_host.h"

class QLineEdit;

namespace pelmar {

class TFormAnim : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString label;
        std::string* field;  // the formula text in the working copy
        bool enabled;        // the value's editability flag; a disabled edit shows empty
    };
    // commit: ApplyObject(True) after "Ok"; nullptr stores without a commit.
    TFormAnim(const QString& objectName, const QString& caption, std::vector<Row> rows, DialogCommit* commit,
              QWidget* parent = nullptr);

    QLineEdit* edit(int i) const { return edits_.at(static_cast<std::size_t>(i)); }
    // Button1Click.
    void ok();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    std::vector<Row> rows_;
    std::vector<QLineEdit*> edits_;
    DialogCommit* commit_;
    bool permitClose_ = false;
};

// TFormAnimPo: 3D X, Y, Z and the label angle of the point.
TFormAnim* NewFormAnimPo(DPoint& p, DialogCommit& commit, QWidget* parent);
// TFormAnimCi: a, b, tilt, the arc angles and the three radius angles.
TFormAnim* NewFormAnimCi(DCircle& c, DialogCommit& commit, QWidget* parent);

}  // namespace pelmar
