// The marks on the animation and fill buttons of the object dialogs, read
// from the buttons as drawn: filled when the feature is set, a ring when not,
// grey on a disabled button.  Each dialog's own condition decides, and the
// marks follow a formula entered in the animation dialog and the fill
// switched in the fill dialog.  With PELMAR_MARK_SHOTS set to a folder
// (scripts/feature-mark-shots.sh) each dialog is also taken in its three
// cases, side by side.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <vector>

#include "dialog_test_util.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/feature_glyph.h"
#include "dialogs/ui/fill_dialog.h"
#include "editing/kind_access.h"
#include "model/defaults.h"
#include "solid_fake.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The fake core with every dialog that has a mark; its fill buttons run the
// real fill dialog on the working copies.
struct MarksEditing : SolidEditing {
    MarksEditing() {
        RegisterSphereDialog(reg);
        RegisterCylinderDialog(reg);
        RegisterConeDialog(reg);
    }
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool writeBack) override {
        const char k = current.code[0];
        if (k == 'i' || k == 'r') return SolidEditing::ApplyObject(writeBack);
        FakeEditing::ApplyObject(writeBack);
    }
    void runFill(std::uint8_t kind, QWidget* parent) override {
        RunFillDialog(kind, work, false, *this, colors, sink, words(), parent);
    }
    struct : MessageSink {
        void showMessage(const std::string&) override {}
    } sink;
};

enum class Mark { none, set, unset, greyedSet, greyedUnset };
const char* Name(Mark m) {
    static const char* names[] = {"none", "set", "unset", "greyed set", "greyed unset"};
    return names[static_cast<int>(m)];
}

// Whether the opaque pixels of `glyph` appear somewhere in `shot`.
bool Contains(const QImage& shot, const QImage& glyph) {
    for (int oy = 0; oy + glyph.height() <= shot.height(); ++oy)
        for (int ox = 0; ox + glyph.width() <= shot.width(); ++ox) {
            bool same = true;
            for (int y = 0; same && y < glyph.height(); ++y)
                for (int x = 0; same && x < glyph.width(); ++x) {
                    const QRgb g = glyph.pixel(x, y);
                    if (qAlpha(g) == 255) same = (shot.pixel(ox + x, oy + y) & 0xFFFFFF) == (g & 0xFFFFFF);
                }
            if (same) return true;
        }
    return false;
}

// The mark the button shows: the glyph pictures looked for in what the
// button draws, a filled one before the ring that is part of it.
Mark Shown(QPushButton* b) {
    const QImage shot = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const std::pair<Mark, QImage> glyphs[] = {
        {Mark::set, FeatureGlyph(true, true).toImage()},
        {Mark::greyedSet, FeatureGlyph(true, false).toImage()},
        {Mark::unset, FeatureGlyph(false, true).toImage()},
        {Mark::greyedUnset, FeatureGlyph(false, false).toImage()},
    };
    for (const auto& [m, g] : glyphs)
        if (Contains(shot, g.convertToFormat(QImage::Format_ARGB32))) return m;
    return Mark::none;
}

// The three records a dialog is filled with.
enum class Case { plain, feature, locked };

struct Row {
    Kind kind;
    const char* anim;   // nullptr: the kind has no animation button
    const char* brush;  // nullptr: the kind has no fill
    // Fills the kind's dialog with a record of the case.
    std::function<void(MarksEditing&, Case)> show;
    Mark lockedAnim, lockedBrush;
};

// A built-in default object of kind K, changed by `mod` for the case, stored
// as the kind's first object, made current and shown in its dialog.
template <Kind K>
std::function<void(MarksEditing&, Case)> Shows(void (*mod)(MarksEditing&, typename KindT<K>::Rec&, Case)) {
    return [mod](MarksEditing& ed, Case c) {
        using R = typename KindT<K>::Rec;
        R r;
        LoadDefault(r, 1, DefaultsSource{});
        auto& store = KindT<K>::store(ed.doc->Obj);
        if (store.count() == 0) store.add(r);
        ed.select(K, 1);
        mod(ed, r, c);
        store[1] = r;
        KindT<K>::work(ed.work) = r;
        ObjectDialog* d = ed.reg.open(K);
        ed.reg.Fill(K, r);
        d->show();
    };
}

bool On(Case c) { return c != Case::plain; }

}  // namespace

TEST(FeatureMarks, ShowEachDialogsConditionAndFollowItsSubDialogs) {
    using enum Mark;
    const std::vector<Row> rows = {
        // A division point of a segment cannot be animated from its dialog.
        {Kind::po, "ButtonPoAnim", nullptr, Shows<Kind::po>([](MarksEditing& ed, DPoint& p, Case c) {
             p.Anim[1] = On(c) ? "100+t" : "";
             if (c == Case::locked) ed.roleSlot(Kind::po) = 8;
         }),
         greyedSet, none},
        // Only a formula of an editable value counts.
        {Kind::ci, "ButtonCiAnim", "ButtonCiBrush", Shows<Kind::ci>([](MarksEditing&, DCircle& r, Case c) {
             r.Anim[7] = On(c) ? "t" : "";
             r.R[3].Angle.e = c != Case::locked;
             r.Fill.On = On(c);
         }),
         unset, set},
        // A sphere of a body: its radius not editable, no fill of its own.
        {Kind::sf, "ButtonSfAnim", "ButtonSfBrush", Shows<Kind::sf>([](MarksEditing& ed, DSf& r, Case c) {
             r.Anim = On(c) ? "50+t" : "";
             r.Radius.e = c != Case::locked;
             r.Fill.On = On(c);
             if (c == Case::locked) ed.select(Kind::zi, 1);
         }),
         greyedUnset, greyedSet},
        // A section's angle formula counts only while the section is on.
        {Kind::zi, "ButtonZiAnim", "ButtonZiBrush", Shows<Kind::zi>([](MarksEditing&, DZi& r, Case c) {
             r.Anim[2] = On(c) ? "t" : "";
             r.SecOn[3].v = c != Case::locked;
             r.Fill.On = On(c);
         }),
         unset, set},
        {Kind::ko, "ButtonKoAnim", "ButtonKoBrush", Shows<Kind::ko>([](MarksEditing&, DKo& r, Case c) {
             r.Anim[0] = On(c) ? "80+t" : "";
             r.Fill.On = On(c);
         }),
         set, set},
        // A height that is not editable greys the button.
        {Kind::i3, "ButtonPiAnim", "ButtonPiBrush", Shows<Kind::i3>([](MarksEditing&, DPi3& r, Case c) {
             r.Anim = On(c) ? "90+t" : "";
             r.HeightLine.Length.e = c != Case::locked;
             r.Fill.On = On(c);
         }),
         greyedUnset, set},
        {Kind::i4, "ButtonPiAnim", "ButtonPiBrush", Shows<Kind::i4>([](MarksEditing&, DPi4& r, Case c) {
             r.Anim = On(c) ? "90+t" : "";
             r.Fill.On = On(c);
         }),
         set, set},
        // The edge's formulas count while their component is editable; with
        // none editable the button is grey.
        {Kind::r3, "ButtonPrAnim", "ButtonPrBrush", Shows<Kind::r3>([](MarksEditing&, DPr3& r, Case c) {
             r.Anim[2] = On(c) ? "t" : "";
             r.EdgeX.e = r.EdgeY.e = r.EdgeZ.e = c != Case::locked;
             r.Fill.On = On(c);
         }),
         greyedUnset, set},
        {Kind::r4, "ButtonPrAnim", "ButtonPrBrush", Shows<Kind::r4>([](MarksEditing&, DPr4& r, Case c) {
             r.Anim[0] = On(c) ? "t" : "";
             r.EdgeY.e = r.EdgeZ.e = c != Case::locked;
             r.Fill.On = On(c);
         }),
         set, set},
        // A triangle or tetragon that is part of another object has no fill
        // of its own.
        {Kind::tr, nullptr, "ButtonTrBrush", Shows<Kind::tr>([](MarksEditing& ed, DTri& r, Case c) {
             r.Fill.On = On(c);
             if (c == Case::locked) {
                 ed.select(Kind::i3, 1);
                 ed.roleSlot(Kind::tr) = 5;
             }
         }),
         none, greyedSet},
        {Kind::kv, nullptr, "ButtonKvBrush", Shows<Kind::kv>([](MarksEditing& ed, DKv& r, Case c) {
             r.Fill.On = On(c);
             if (c == Case::locked) {
                 ed.select(Kind::i4, 1);
                 ed.roleSlot(Kind::kv) = 5;
             }
         }),
         none, greyedSet},
    };
    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_MARK_SHOTS"));
    for (const Row& row : rows) {
        MarksEditing ed;
        std::vector<QPixmap> taken;
        for (Case c : {Case::plain, Case::feature, Case::locked, Case::plain}) {
            SCOPED_TRACE(std::string(InfoOf(row.kind).code) + " case " + std::to_string(static_cast<int>(c)));
            row.show(ed, c);
            ObjectDialog* d = ed.reg.dialog(row.kind);
            ASSERT_TRUE(d);
            const std::pair<const char*, Mark> buttons[] = {{row.anim, row.lockedAnim}, {row.brush, row.lockedBrush}};
            for (const auto& [name, locked] : buttons) {
                if (!name) continue;
                const Mark expected = c == Case::plain ? unset : c == Case::feature ? set : locked;
                EXPECT_STREQ(Name(Shown(Find<QPushButton>(*d, name))), Name(expected)) << name;
            }
            if (!shots.isEmpty() && taken.size() < 3) {
                // The page that holds the fill button in view.
                for (QWidget* w = Find<QPushButton>(*d, row.brush ? row.brush : row.anim); w != d; w = w->parentWidget())
                    if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
                        tabs->setCurrentWidget(w);
                taken.push_back(d->grab());
            }
        }
        if (taken.empty()) continue;
        QPixmap sheet(3 * taken[0].width() + 20, taken[0].height());
        sheet.fill(Qt::darkGray);
        QPainter p(&sheet);
        for (std::size_t i = 0; i < taken.size(); ++i)
            p.drawPixmap(static_cast<int>(i) * (taken[0].width() + 10), 0, taken[i]);
        p.end();
        EXPECT_TRUE(sheet.save(QDir(shots).filePath(QString("marks-%1.png").arg(InfoOf(row.kind).code))));
    }

    // The ellipse's marks follow the animation dialog's OK and the fill
    // switched on and off, each a commit that fills the dialog again.
    MarksEditing ed;
    Shows<Kind::ci>([](MarksEditing&, DCircle&, Case) {})(ed, Case::plain);
    ObjectDialog* d = ed.reg.dialog(Kind::ci);
    auto* anim = Find<QPushButton>(*d, "ButtonCiAnim");
    auto* brush = Find<QPushButton>(*d, "ButtonCiBrush");
    auto modal = [](QPushButton* opener, std::function<void(QWidget&)> drive) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            drive(*QApplication::activeModalWidget());
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        EXPECT_TRUE(ran);
    };
    modal(anim, [](QWidget& m) {
        auto& f = dynamic_cast<TFormAnim&>(m);
        f.edit(1)->setText("40+t");
        f.ok();
    });
    EXPECT_EQ(ed.doc->Obj.Ci[1].Anim[1], "40+t");
    EXPECT_STREQ(Name(Shown(anim)), Name(set));
    EXPECT_STREQ(Name(Shown(brush)), Name(unset));
    for (bool on : {true, false}) {
        modal(brush, [](QWidget& m) {
            auto& f = dynamic_cast<TFormBrush&>(m);
            f.CheckBox1->click();
            f.Button1->click();
        });
        EXPECT_EQ(ed.doc->Obj.Ci[1].Fill.On, on);
        EXPECT_STREQ(Name(Shown(brush)), Name(on ? set : unset));
    }
}
