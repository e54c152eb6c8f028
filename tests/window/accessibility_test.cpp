// What a screen reader announces for each control, read through Qt's accessibility interfaces.
#include <gtest/gtest.h>

#include <QAccessible>

#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

using Accessibility = WindowTest;

QString Read(QWidget* widget, QAccessible::Text which) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face != nullptr ? face->text(which) : QString("<no interface>");
}

TEST_F(Accessibility, EveryControlIsAnnouncedWithItsCaptionAndValue) {
  SetOctets({"10", "1", "2", "3"});
  window.cmbMask()->setCurrentIndex(24);
  struct Case {
    QWidget* widget;
    QString name;
    QString value;  // empty where the control has none
  };
  const std::vector<Case> cases = {
      {window.txtIP(0), "Indirizzo IP, parte 1", "10"},
      {window.txtIP(3), "Indirizzo IP, parte 4", "3"},
      {window.txtStato(), "Stato IP", "Valido"},
      {window.txtTipo(), "Tipo indirizzo", "Privato"},
      {window.txtClasse(), "Classe rete", "A - ( 8 ) 255.0.0.0"},
      {window.txtBroadcast(), "Broadcast", "10.255.255.255"},
      {window.txtHosts(), "Hosts", "16.777.214"},
      {window.txtNetwork(), "Network", "10.0.0.0"},
      {window.cmdGetIpCli(), "CLI", ""},
      {window.CmdGetIpSrv(), "SRV", ""},
      {window.cmdCalc(), "Info", ""},
      {window.cmdSet(), "Set", ""},
  };
  for (const Case& c : cases) {
    const std::string label = c.name.toStdString();
    EXPECT_EQ(Read(c.widget, QAccessible::Name), c.name) << label;
    EXPECT_FALSE(Read(c.widget, QAccessible::Description).isEmpty()) << label;
    if (!c.value.isEmpty()) {
      EXPECT_EQ(Read(c.widget, QAccessible::Value), c.value) << label;
    }
  }
  // On Linux a list is named by its label, through the labelled-by relation.
  EXPECT_EQ(Read(window.cmbMask(), QAccessible::Value), "( 8 ) 255.0.0.0");
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window.cmbMask());
  bool labelled = false;
  for (const auto& [other, relation] : list->relations(QAccessible::Label)) {
    labelled = labelled || other->text(QAccessible::Name) == "Subnet Mask: ";
  }
  EXPECT_TRUE(labelled);
  EXPECT_EQ(Read(window.cmdGetIpCli(), QAccessible::Description),
            "Imposta l'indirizzo IP privato di questo PC.");
}

}  // namespace
}  // namespace maskora::testing
