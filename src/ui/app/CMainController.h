#pragma once

#include "model/SharedConstants.h"
#include "print/CPrintService.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <memory>

class CBatchTextDlg;
class CDocTypeDlg;
class CPageFormat;
class CTAVRODoc;
class CTAVROView;
class QAction;
class QString;

// The commands of the main window as named actions: each action is made
// once, connected once to what carries it out, and given its enabled and
// checked states by the signals of the sheet model, the undo history and the
// clipboard. Menus, toolbars and tests find an action by its object name
// ("actionSelectAll"). The file, edit, format and view parts live in files of
// their own (CMainController_*.cpp).
//
// The application's own commands (open, recent files, exit, about) and the
// bars' toggles are made here too; the application and the frame connect
// them, since they own what those commands act on.
class CMainController : public QObject
{
    Q_OBJECT

public:
    CMainController(CTAVRODoc& document, CTAVROView& view, QObject* parent = nullptr);
    ~CMainController() override;

    // The action of that object name; null when there is none.
    QAction* Action(const QString& name) const;
    QAction* RecentFileAction(int nIndex) const;

    // Shows which recent-file slots hold a file: only those are enabled.
    void SetRecentFileCount(int nCount);

    // The sheet type chosen last with New; the next new document takes it.
    CPageFormat LastChosenFormat() const;
    // Made at first use: finding the default printer loads the print system.
    CPrintService& Printing();

    // Save: to the document's own file, or through the save-as dialog when
    // it has none or the file is read-only.
    bool Save();
    // Save as: `path`, or the file dialog when `path` is empty. A failure is
    // reported; the document then stays modified.
    bool SaveAs(const QString& path = {});
    // Asks "将改动保存到 %1？" when modified. False when the user cancels or
    // the save failed: the action that asked must not go on.
    bool SaveModified();

Q_SIGNALS:
    // Posted once New was confirmed with a sheet type.
    void newDocumentRequested();
    // The document was saved to `path`: it belongs in the recent-file list.
    void fileSaved(const QString& path);
    // A passing word for the status bar.
    void statusMessage(const QString& text);

private:
    // A command's texts: its menu text (the tooltip for commands without a
    // menu item), status-bar prompt, tooltip (empty: the menu text) and
    // toolbar picture (empty: none).
    struct CActionText
    {
        const char* szName;
        const char* szText;
        const char* szPrompt;
        const char* szToolTip;
        const char* szIcon;
    };
    QAction* AddAction(const CActionText& text, const QList<QKeySequence>& keys = {});
    // An action that acts on the selected labels: enabled while one is.
    QAction* AddSelectionAction(const CActionText& text, const QList<QKeySequence>& keys = {});
    // Undo and redo as the history makes them, with the step they would take
    // in their texts ("撤销 设定文字").
    void AddHistoryAction(QAction* action, const char* szName, const char* szCommand, const char* szMnemonic,
                          const char* szPrompt, const char* szIcon, const QList<QKeySequence>& keys);

    // New: asks for the sheet type, then for a new document.
    void OnFileNew();
    // Prints or previews once the command's own event (a key, a menu click)
    // has been handled.
    void PostPrint(PrintMode mode);

    // The text commands on the selected labels, and a double-clicked
    // label's own text (CMainController_Edit.cpp).
    void OnSetText();
    void OnClearText();
    void OnLabelDoubleClicked(int nIndex);
    // Copy, cut and paste of the selected labels: the clipboard holds them
    // as spreadsheet text and as whole records.
    void OnCopy();
    // Copy, then the texts cleared: one undo step.
    void OnCut();
    // Fills the selected labels in scan order from the clipboard: whole
    // records of this program, else the cells of text; a cell no label can
    // hold refuses the whole paste with a message.
    void OnPaste();
    // Runs a format command of the core over the selected labels as the undo
    // step `strStep` (CMainController_Format.cpp); every confirmed format
    // command marks the document modified, label settings and shrink-to-fit
    // too: otherwise closing would lose such a change unasked.
    template <typename Command>
    void ApplyFormat(const QString& strStep, Command command);

    void CreateFileActions();
    void CreateEditActions();
    void CreateFormatActions();
    void CreateViewActions();

    void UpdateSelectionActions();
    void UpdatePasteAction();
    void UpdateAutoShrinkAction();
    // The direction menu checks the first selected label's direction.
    void UpdateDirectionActions();
    void UpdateFullPageAction();

    CTAVRODoc& m_document;
    CTAVROView& m_view;
    QList<QAction*> m_selectionActions;
    QList<QAction*> m_recentFileActions;
    std::unique_ptr<CPrintService> m_pPrinting;
    // Made at the first New and kept, so that it remembers its last choice.
    std::unique_ptr<CDocTypeDlg> m_pDocTypeDlg;
    // Made at the first set-text and kept, so that it remembers its last
    // choice; the view owns it.
    CBatchTextDlg* m_pBatchTextDlg = nullptr;
};

// Only a checked command shows as checkable, so that menus draw no empty
// check boxes beside ordinary items.
void ShowChecked(QAction* action, bool bChecked);
