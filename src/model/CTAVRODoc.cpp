#include "model/CTAVRODoc.h"

CTAVRODoc::CTAVRODoc(QObject* parent) : QObject(parent) {}

void CTAVRODoc::SetModifiedFlag(bool bModified)
{
    if (m_bModified == bModified)
        return;
    m_bModified = bModified;
    Q_EMIT modifiedChanged(m_bModified);
}
