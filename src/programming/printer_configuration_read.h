#pragma once

#include "link/execute.h"
#include "programming/equipment_configuration.h"

namespace taloven {

// Asks the printer for every part of its configuration it reports (owner,
// counters, clock, cliché, tax rates, linkage, totalizer names) and puts the
// answers into configuration; fields no read touches keep their values.
// Returns 0, or the result that ended the reading early: -4 when the
// printer did not answer ("Falha no envio do comando" shown once), -5 when
// the user cancelled. Other failed reads leave their fields and go on.
int ReadPrinterConfiguration(EquipmentConfiguration& configuration, ExecutionContext& context);

}  // namespace taloven
