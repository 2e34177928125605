#pragma once

// Command identifiers of menus, toolbars and accelerators. The numbers are
// the program's own and stay stable: tests and the command layer use them.
namespace ID {
// selection
constexpr int SelectAll = 32771;
constexpr int InvertSelection = 32772;
constexpr int SelectNone = 32773;
constexpr int SelectEmpty = 32781;
constexpr int SelectText = 32782;
// text
constexpr int ClearText = 32774;
constexpr int SetText = 32775;
// view
constexpr int FullPage = 32777;
constexpr int ViewFormatBar = 32809;
constexpr int ViewToolBar = 59392;
constexpr int ViewStatusBar = 59393;
// printing
constexpr int PrintLabels = 32778;
constexpr int PrintBaseline = 32780;
constexpr int PrintPreviewMenu = 32791;
constexpr int PageOffset = 32789;
constexpr int CalibrationPage = 32830;
constexpr int FilePrintSetup = 57606;
// file
constexpr int FileNewSheet = 32793;
constexpr int FileOpen = 57601;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FileMru1 = 57616; // to FileMru1 + 3
constexpr int AppExit = 57665;
constexpr int AppAbout = 57664;
// formatting
constexpr int Font = 32795;
constexpr int AlignTopLeft = 32796;
constexpr int AlignMiddleLeft = 32799;
constexpr int AlignMiddleRight = 32801;
constexpr int AlignBottomCentre = 32803;
constexpr int AlignBottomRight = 32804;
constexpr int AlignTopCentre = 32805;
constexpr int AlignTopRight = 32806;
constexpr int AlignMiddleCentre = 32807;
constexpr int AlignBottomLeft = 32808;
constexpr int LabelSettings = 32810;
constexpr int AutoShrink = 32811;
constexpr int ImportWireList = 32812;
// editing
constexpr int EditCopy = 57634;
constexpr int EditCut = 57635;
constexpr int EditPaste = 57637;
constexpr int EditUndo = 57643;
constexpr int EditRedo = 57644;
// bound to keys, carried out by nothing: these keys do nothing
constexpr int NextPane = 57680;
constexpr int PrevPane = 57681;
} // namespace ID
