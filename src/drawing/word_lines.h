// Lines of the word table that the code asks for by name.  The values are
// the line numbers of a translation file; a window that shows many words
// from a block of lines counts from the block's first line.  The table
// itself (files/word_table.h) sits with the other text files; the names stay
// here with the built-in texts, because the redraw already speaks them.
#pragma once

namespace pelmar {

inline constexpr int FirstWordLine = 5;
inline constexpr int LastWordLine = 685;
inline constexpr int WordTextCount = 649;

// The 32 lines of the word part that open a group and carry no word.
bool IsTitleLine(int line);

// Built-in Russian text of a line (UTF-8); nullptr for a title line and for a
// line outside 5..685.
const char* BuiltInWord(int line);

enum class WordNo : int {
    // The kinds' names from the sphere on; the program's name.
    FirstSolidName = 39, ProgramName = 67,
    // The copy and the delete questions, each from its caption on.
    CopyCaption = 169, DeleteCaption = 178,
    // Names of the facts the open and save dialogs list of a document.
    PreviewSize = 206, PreviewTime, PreviewDate, PreviewPicture, PreviewVersion, PreviewAuthor, PreviewCaption,
    // The project options dialog from its caption on, and its anti-aliasing box.
    ProjectOptions = 117, AntiAliasing = 264,
    // The raster export dialog.
    RasterCaption = 214, ColourCount, RasterMisc, TransparentBack, Compression, Cancel,
    // The hint of the play button: idle, and while a full redraw runs.
    PlayHint = 265, StopHint,
    // The link dialog's title of a new object, in the kinds' order.
    FirstNewObject = 280,
    // The transformations window; its centre, then the angle.
    Transformations = 309, Centre = 318,
    // The drawing window; the hints of its buttons in their order.
    ImageCaption = 328, RasterPicture, VectorPicture, Seconds, FirstToolHint,
    ImplicitGraph = 348, CartesianGraph, LengthIs, AngleIs, GradientBuilt, GradientNotBuilt,
    // Units and marks of the object dialogs.
    UnitPt = 361, UnitCm, UnitPk, Projection, ThicknessIs = 517, Outline = 519,
    // The pyramid dialog's captions (three-, four-sided) and type names; the
    // prism dialog's captions, then its edge captions and type names.
    PyramidCaption = 571, Tetrahedron = 573, RegularSolid, ArbitrarySolid, ApexSide, PlainPyramid,
    PrismCaption = 579, LateralEdges = 581, LateralEdgeVector, Cube, RectParallelepiped, ObliqueParallelepiped,
    ArbitraryPrism, IrregularPrism,
    // The captions of the sphere, cylinder and cone dialogs.
    SphereDialog = 559, CylinderDialog = 563, ConeDialog = 567,
    // Parts of an object that the nesting path names; the bisector, height and
    // median of an angle follow the side.
    Radius = 589, Side, Axis = 594, Diagonal, Height, Incircle, Circumcircle, Section, Contour, LowerBase, UpperBase,
    Base, Face, CircumSphere, InSphere,
    // Messages; a later version takes two lines, an earlier one four.
    FileExists = 623, FileChanged, CannotSaveFile, CannotOpenFile, NotADocument, LaterVersion, EarlierVersion = 630,
    CannotPlotGraph = 634,
    // The animation window: its caption, the builder's status line, then its
    // labels and buttons from the frame count on (the delay before it).
    Animation = 637, BuildingFrame, SavingGif, GifDone, GifCorrected, GifNotDone, FrameCount = 644,
    Fill = 660, ChangeProjectOption, CannotDeleteGrouped = 685,
};

inline const char* BuiltInWord(WordNo line) { return BuiltInWord(static_cast<int>(line)); }

// The line `n` lines after (or before) `first` in a block of lines.
constexpr WordNo operator+(WordNo first, int n) { return static_cast<WordNo>(static_cast<int>(first) + n); }
constexpr WordNo operator-(WordNo first, int n) { return first + -n; }

}  // namespace pelmar
