#include "tables/loader_notification.h"

#include <new>

#include "tables/symbol_tables.h"

namespace kx {

bool handleLoaderNotification(std::uint32_t reason) {
    SymbolTables& tables = symbolTables();
    switch (static_cast<LoaderReason>(reason)) {
        case LoaderReason::ProcessAttach:
            try {
                buildTables(tables);
            } catch (const std::bad_alloc&) {
                clearTables(tables);
                return false;
            }
            return true;
        case LoaderReason::ProcessDetach:
            clearTables(tables);
            return true;
        case LoaderReason::ThreadAttach:
        case LoaderReason::ThreadDetach:
            return true;
    }
    return true;  // a reason this library does not know: nothing to do
}

}  // namespace kx
