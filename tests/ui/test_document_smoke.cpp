#include "model/CTAVRODoc.h"
#include "view/CTAVROView.h"

#include <gtest/gtest.h>

TEST(DocumentView, ViewRegistersWithDocument)
{
    CTAVRODoc doc;
    CTAVROView view(&doc);
    EXPECT_EQ(doc.m_pView, &view);
}
