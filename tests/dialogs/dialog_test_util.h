// Helpers of the dialog tests: a shown, active window to type into.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>

#include "dialogs/dialog_host.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/object_dialog.h"
#include "editing/kind_access.h"
#include "model/update.h"
#include "support/find_child.h"

// QString in gtest messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace pelmar::test {

inline void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// Focus on w, its text selected, then the keys typed as a user types them.
template <class Edit>
void TypeInto(Edit* w, const QString& keys) {
    w->setFocus();
    w->selectAll();
    QTest::keyClicks(w, keys);
}

// A click on a check box's or radio button's indicator (a click beside its
// text does not hit it).
inline void ClickIndicator(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Every visible control lies inside its window and has at least the size it
// needs to show its text.
inline void ExpectNothingClipped(QWidget& window) {
    const QRect inside = window.rect();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!w->isVisibleTo(&window) || name.isEmpty() || name.startsWith("qt_") || name == "ObjectDialogBody") continue;
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << window.objectName().toStdString() << "/" << w->objectName().toStdString();
        const QSize need = w->minimumSizeHint();
        EXPECT_GE(w->width(), need.width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), need.height()) << w->objectName().toStdString();
    }
}

// An editing core that commits a figure as the real one does: the type
// rule, the stored copy, the refill of the open dialog; the figure is the
// working copy of its kind, and a trial of the commit runs the type rule on
// it (the dialog puts it back).
template <class R>
struct FigureCore : DialogCommit, DialogDocument {
    std::unique_ptr<WorkingCopies> copies = std::make_unique<WorkingCopies>();
    R& work = KindT<RecordKind<R>>::work(*copies);
    R stored;
    ObjectDialog::CopiesAccess access() {
        return {[this]() -> WorkingCopies& { return *copies; }, [] { return MaskOf(RecordKind<R>); },
                [this] { Update(work); }};
    }
    int applies = 0;
    std::function<void()> refill;
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool) override {
        ++applies;
        Update(work);
        stored = work;
        if (refill) refill();
    }
    static void Update(DTri& t) { UpdateTriangle(t, 0, true); }
    static void Update(DKv& k) { UpdateTetragon(k, 0, true); }
    void RepaintProject() override {}
    bool NoRedraw() const override { return false; }
    DialogPlace dialogPlace() const override { return {}; }
    void setDialogPosition(int, int) override {}
    void setDialogsRolledUp(bool) override {}
    int resolution() const override { return 96; }
};

// A figure dialog D shown active over its core; `Id` is its ID edit, where
// the focus goes on leaving an edit.
template <class D, class R, QLineEdit* D::*Id>
class FigureDialogTest : public testing::Test {
protected:
    // `rec` as the working and stored copy, on the dialog.
    void Show(const R& rec) {
        core.work = core.stored = rec;
        core.applies = 0;
        if (!dlg) {
            dlg = std::make_unique<D>(core.work, core, core);
            dlg->setCopies(core.access());
            core.refill = [this] { dlg->VarToForm(core.work); };
            ShowActive(*dlg);
        }
        dlg->VarToForm(core.work);
    }

    // Types into an exit-rule edit and leaves it.
    void TypeAndLeave(const char* name, const QString& text) {
        TypeInto(Find<TNumEdit>(*dlg, name), text);
        ((*dlg).*Id)->setFocus();
        QApplication::processEvents();
    }

    FigureCore<R> core;
    std::unique_ptr<D> dlg;
};

}  // namespace pelmar::test
