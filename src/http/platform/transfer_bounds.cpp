// The bounds in force, shared by every thread that sends a request.
#include "http/platform/transfer_bounds.h"

#include <mutex>
#include <utility>

namespace kelvorat::wininet {
namespace {

std::mutex boundsMutex;
TransferBounds bounds;

}  // namespace

TransferBounds SetTransferBounds(TransferBounds next) {
  std::lock_guard lock(boundsMutex);
  return std::exchange(bounds, next);
}

TransferBounds CurrentTransferBounds() {
  std::lock_guard lock(boundsMutex);
  return bounds;
}

}  // namespace kelvorat::wininet
