#pragma once

#include <QString>

#include <cstdint>

// What the VLOList library registers: its type library, the two control classes,
// their property pages, and the two component categories both controls implement.
namespace listgrid {

inline constexpr const char* TypeLibraryId = "{EC28DED0-4041-4ABF-A760-A6AB68735B32}";
inline constexpr const char* TypeLibraryName = "Vorlen List Controls 1.0";
inline constexpr const char* TypeLibraryHelpFile = "VLO.hlp";
inline constexpr const char* ListControlClassId = "{78E0A07D-CF55-4B0B-89AE-61F6C6EE42D6}";
inline constexpr const char* ListControlProgId = "Vorlen.ListCtrl.1";
inline constexpr const char* GridControlClassId = "{F3281678-41C1-4FFF-909E-21343DFD75BC}";
inline constexpr const char* GridControlProgId = "Vorlen.GridCtrl.1";
inline constexpr const char* ListPageClassId = "{06504DF8-BB3E-4FEF-996E-847F5F388E2C}";
inline constexpr const char* ListPageProgId = "Vorlen.ListPropPage.1";
inline constexpr const char* GridPageClassId = "{4616B605-3091-4AE2-909B-4BA6F5829B44}";
inline constexpr const char* GridPageProgId = "Vorlen.GridPropPage.1";
inline constexpr const char* ColumnsPageClassId = "{5AB26D67-5186-44EE-ACD5-8384DA44B60B}";
inline constexpr const char* ColumnsPageProgId = "VLOList.CColumnsPropPage";
inline constexpr const char* SafeForScriptingCategory = "{7DD95801-9882-11CF-9FA9-00AA006C42C4}";
inline constexpr const char* SafeForInitializingCategory = "{7DD95802-9882-11CF-9FA9-00AA006C42C4}";
inline constexpr uint32_t ControlMiscStatus = 0x20191;

// Self-registration results.
inline constexpr int32_t SelfRegTypeLibError = int32_t(0x80040200u); // SELFREG_E_TYPELIB
inline constexpr int32_t SelfRegClassError = int32_t(0x80040201u);   // SELFREG_E_CLASS

// DllRegisterServer's work for the library file at `libraryPath`: 0, or the
// self-registration code of the step that failed (nothing is undone).
int32_t registerLibrary(const QString& libraryPath);
// DllUnregisterServer's: the categories and the class-to-category entries stay.
int32_t unregisterLibrary();

} // namespace listgrid
