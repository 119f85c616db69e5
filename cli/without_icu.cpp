// Linked into the static vantorel-cli only. Debian builds libxml2 with ICU,
// which it asks for a converter only for a document in an encoding it does
// not know itself; linked statically, ICU and its 30 MiB of data would come
// along for that alone. These stand in for the ICU functions libxml2 calls,
// and say that no converter can be had: such a document is refused as in an
// unknown encoding, and manifests are UTF-8 or UTF-16, which libxml2 reads
// itself. The names carry Debian's ICU version; with another, the linker
// takes ICU itself, as before.
#include <cstddef>

extern "C" {

// U_MISSING_RESOURCE_ERROR: what ucnv_open says when it has no such converter.
constexpr int kMissingResource = 2;

void* ucnv_open_72(const char*, int* status) {
  *status = kMissingResource;
  return nullptr;
}
void ucnv_close_72(void*) {}
void ucnv_setToUCallBack_72(void*, void*, const void*, void*, const void**, int* status) { *status = kMissingResource; }
void ucnv_setFromUCallBack_72(void*, void*, const void*, void*, const void**, int* status) {
  *status = kMissingResource;
}
void ucnv_convertEx_72(void*, void*, char**, const char*, const char**, const char*, void*, void**, void**, void*,
                       signed char, signed char, int* status) {
  *status = kMissingResource;
}
void UCNV_TO_U_CALLBACK_STOP_72() {}
void UCNV_FROM_U_CALLBACK_STOP_72() {}

}  // extern "C"
