#pragma once

#include "app/CCommandMap.h"

#include <QObject>
#include <QString>

class CTAVROView;

// The document: path, title and modified flag of the one sheet. The sheet's
// data lives in the view; the document reads and writes it through m_pView.
class CTAVRODoc : public QObject
{
    Q_OBJECT

public:
    explicit CTAVRODoc(QObject* parent = nullptr);

    const CCommandMap& CommandMap() const { return m_commands; }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);

    CTAVROView* m_pView = nullptr; // set by the view; not owned

Q_SIGNALS:
    void modifiedChanged(bool bModified);

protected:
    CCommandMap m_commands;

private:
    bool m_bModified = false;
};
