// The host's own "locator" node: a cross along the three axes, localScale long each way,
// centred on localPosition.
#pragma once

namespace hx {

void* createBuiltinLocator();

}  // namespace hx
