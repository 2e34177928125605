#pragma once

// Every PDF a front-end test writes is read by a strict reader before
// anything is taken from it, so that a broken structure fails the test that
// made it wherever it appears.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// `qpdf --check` of the file: a failure of the test where the structure is
// broken or a reader has to repair it (qpdf's warnings).
inline void ExpectValidPdf(const QString& path)
{
    QProcess qpdf;
    qpdf.setProcessChannelMode(QProcess::MergedChannels);
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (!qpdf.waitForFinished(120000)) {
        ADD_FAILURE() << "qpdf --check " << path.toStdString() << " did not run (scripts/install-deps.sh)";
        return;
    }
    EXPECT_TRUE(qpdf.exitStatus() == QProcess::NormalExit && qpdf.exitCode() == 0)
        << "qpdf --check " << path.toStdString() << ":\n"
        << qpdf.readAll().toStdString();
}

// The PDF's text by poppler's pdftotext (`options` before the file, e.g.
// -bbox), once the file has passed ExpectValidPdf.
inline QString PdfText(const QString& path, const QStringList& options = {})
{
    ExpectValidPdf(path);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), QStringList(options) << path << QStringLiteral("-"));
    if (!pdftotext.waitForFinished(60000)) {
        ADD_FAILURE() << "pdftotext " << path.toStdString() << " did not finish";
        return {};
    }
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}
