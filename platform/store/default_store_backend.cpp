// Which store this build keeps its settings in.
#include "platform/store/store_accessor.h"

#ifdef _WIN32
#include "platform/store/registry_store_backend.h"
#else
#include "platform/store/sqlite_store_backend.h"
#endif

namespace lirvane {

std::unique_ptr<StoreBackend> MakeDefaultStoreBackend() {
#ifdef _WIN32
  return std::make_unique<RegistryStoreBackend>();
#else
  return std::make_unique<SqliteStoreBackend>(SqliteStoreBackend::DefaultDatabaseFile());
#endif
}

}  // namespace lirvane
