#include <Sprache.h>
#include <TestProtokoll.h>

#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs a real (offscreen) application object, so that widgets and modal
// dialogs behave as in the programs, and in the programs' language.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProtokollInTempOrdner();
    Tools::DeutschEinstellen();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
