/* The interface between the program and a word-processor text converter library.
 *
 * A converter is a shared library (loaded with dlopen) that exports five C functions. The
 * program lists it under HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Shared Tools\Text Converters\
 * Import" (or "...\Export") in a subkey with the string values "Path" (the library), "Name"
 * (the format's shown name) and "Extensions" (space-separated, without dots).
 *
 * Every argument that carries data is a QM_CONV_BLOCK: a block of zero-initialised memory
 * owned by the program, valid for the duration of the call:
 *  - a file name block holds the file's native path (UTF-8, as the file system takes it),
 *    zero-terminated, in a block of (length x 2 + 2) bytes;
 *  - the description, class and subset blocks hold empty strings;
 *  - the transfer buffer is QM_CONV_BUFFER_SIZE bytes of data (allocated one byte larger).
 * The callbacks have no context argument: the program keeps the state of the running
 * conversion itself, per thread.
 *
 * Import runs on a worker thread of the program; export and the other calls run on its
 * interface thread. Only one conversion runs at a time.
 */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Size of the transfer buffer that carries RTF between the program and a converter. */
#define QM_CONV_BUFFER_SIZE 4096

/* A block of memory handed to a converter in place of a global memory handle. */
typedef struct QM_CONV_BLOCK {
  char* Data;   /* the bytes; never NULL */
  long Size;    /* usable size of Data in bytes */
} QM_CONV_BLOCK;

/* Output callback of an import: the converter has put `cch` bytes of RTF at the start of the
 * transfer buffer and is `percent` done. Returns 0 to go on; anything else asks the converter
 * to stop. */
typedef long (*QM_CONV_OUTPUT)(long cch, long percent);
/* Input callback of an export: the program fills the transfer buffer with the next bytes of
 * RTF and returns their number, 0 at the end, a negative number on failure (-8: the buffer
 * cannot be used). `percent` is ignored. */
typedef long (*QM_CONV_INPUT)(long reserved, long percent);

/* "InitConverter32": `appWindow` is 0; `programPath` is the program's path in upper case.
 * Non-zero means ready. */
typedef long (*QM_INIT_CONVERTER)(long appWindow, const char* programPath);
/* "IsFormatCorrect32": non-zero when the file is in the converter's format. */
typedef long (*QM_IS_FORMAT_CORRECT)(QM_CONV_BLOCK* fileName, QM_CONV_BLOCK* description);
/* "ForeignToRtf32": reads the foreign file and delivers it as RTF through `output`, chunk by
 * chunk in `buffer`. `storage` is NULL. 0 means success, anything else is an error code. */
typedef long (*QM_FOREIGN_TO_RTF)(QM_CONV_BLOCK* fileName, void* storage, QM_CONV_BLOCK* buffer,
                                  QM_CONV_BLOCK* description, QM_CONV_BLOCK* subset,
                                  QM_CONV_OUTPUT output);
/* "RtfToForeign32": takes RTF through `input`, chunk by chunk in `buffer`, and writes the
 * foreign file. `storage` is NULL. 0 means success, anything else is an error code. */
typedef long (*QM_RTF_TO_FOREIGN)(QM_CONV_BLOCK* fileName, void* storage, QM_CONV_BLOCK* buffer,
                                  QM_CONV_BLOCK* className, QM_CONV_INPUT input);
/* "CchFetchLpszError": writes the text of an error code (at most `size` bytes with its zero)
 * and returns its length; 0 when there is none. */
typedef long (*QM_FETCH_ERROR)(long error, char* text, long size);

#ifdef __cplusplus
}
#endif
