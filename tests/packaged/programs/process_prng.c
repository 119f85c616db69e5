/* bcryptprimitives.dll with the one function Bun's Windows programs import
   from it, ProcessPrng, which Wine 8 does not have: Bun's programs do not
   start without it. It fills the buffer from the system's generator, as the
   real one does. Put in the test prefix's system32 only. */
#include <windows.h>
#include <bcrypt.h>

BOOL WINAPI ProcessPrng(PBYTE data, SIZE_T size) {
  while (size) {
    ULONG n = size > 0x40000000 ? 0x40000000 : (ULONG)size;
    if (!BCRYPT_SUCCESS(BCryptGenRandom(NULL, data, n, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return FALSE;
    data += n;
    size -= n;
  }
  return TRUE;
}
