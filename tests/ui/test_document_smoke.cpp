#include "model/CTAVRODoc.h"
#include "view/CTAVROView.h"

#include <gtest/gtest.h>

TEST(DocumentView, ViewShowsTheDocumentsModel)
{
    CTAVRODoc doc;
    CTAVROView view(&doc);
    EXPECT_EQ(&view.Model(), &doc.Model());
}
