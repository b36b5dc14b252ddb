// The catalogue and the printer's materials on Windows: the file in the printer-driver folder, and the
// printer-data query that the language monitor answers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "manager/app/printer_materials.h"
#include "manager/model/catalogue.h"

namespace vyx {

// "<printer-driver directory>\3\VyxQ5Colors.ini"; empty when the driver directory cannot be determined.
std::wstring CataloguePath();

// Reads the catalogue from CataloguePath(); -1 when the folder cannot be determined (nothing is read).
int ReadCatalogueFromDriverFolder(CCatalogue& catalogue, bool pnFlag, const CLanguageText& language);

// Opens the printer for the material query: full access, past the spooler's cache where the system offers that;
// null when it cannot be opened.
HANDLE OpenPrinterForMaterials(const std::wstring& printerName);
// The material query on an open printer; false when it fails (a reply longer than the buffer fails too). `got`
// receives the reply's length.
bool QueryMaterials(HANDLE printer, char (&reply)[kMaterialsReplyBytes], DWORD* got);

// Sends the material query to the printer; false when the printer cannot be opened or the query fails.
bool QueryMaterialsReply(const std::wstring& printerName, char (&reply)[kMaterialsReplyBytes]);

// The loaded tape number, or -1.
std::int32_t AskLoadedTape(const std::wstring& printerName);

// The loaded tape and ribbon lines; empty when the query fails.
std::vector<CLoadedMaterial> AskLoadedMaterials(const std::wstring& printerName);

}  // namespace vyx
