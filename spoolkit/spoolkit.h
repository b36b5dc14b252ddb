/* Spoolkit.dll: what the printer driver, running inside the spooler, calls to reach the logged-on user. Every
 * function uses the standard calling convention, is exported by its plain name and takes UTF-16 strings. Failures
 * are reported by the result and the thread's last error. Tokens, process handles and job buffers returned are
 * the caller's to close or free (job buffers with LocalFree). Path buffers hold MAX_PATH characters unless a
 * size is passed. */
#ifndef SPOOLKIT_SPOOLKIT_H
#define SPOOLKIT_SPOOLKIT_H

#include <windows.h>

#ifdef SPOOLKIT_BUILDING
#define SPOOLKIT_API
#else
#define SPOOLKIT_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results of GetEnvironment. */
#define SPOOLKIT_ENV_X86 0
#define SPOOLKIT_ENV_X64 1
#define SPOOLKIT_ENV_IA64 2
#define SPOOLKIT_ENV_UNKNOWN (-1)

/* Set as last error when the size query of a job unexpectedly succeeds. */
#define SPOOLKIT_ERROR_SIZE_QUERY_SUCCEEDED 0x2000000BUL

/* Processes in the user's session. The token may be NULL: the program then starts in the caller's context. */
SPOOLKIT_API BOOL WINAPI CreateLeashedProcessAsUser(HANDLE token,
                                                    LPCWSTR applicationPath,
                                                    LPCWSTR parameters,
                                                    PROCESS_INFORMATION* processInformation,
                                                    WORD showWindow);
SPOOLKIT_API BOOL WINAPI WrapCreateProcessAsUser(HANDLE token, LPCWSTR applicationPath, LPCWSTR parameters);
SPOOLKIT_API BOOL WINAPI ExecuteProcessAsUser(HANDLE token,
                                              LPCWSTR applicationPath,
                                              LPCWSTR parameters,
                                              DWORD* exitCode);
SPOOLKIT_API DWORD WINAPI
MessageBoxAsUser(LPCWSTR programFolder, HANDLE token, DWORD numberB, LPCWSTR text1, LPCWSTR text2, DWORD numberA);
SPOOLKIT_API BOOL WINAPI ShowMsgBoxInActiveSession(LPCWSTR title, LPCWSTR message, DWORD style, DWORD* response);

/* Tokens. */
SPOOLKIT_API HANDLE WINAPI GetLoggedOnUserPrimToken(void);
SPOOLKIT_API HANDLE WINAPI GetPrimProcessToken(DWORD processId);
SPOOLKIT_API HANDLE WINAPI GetPrimThreadToken(DWORD threadId);

/* Process search by the base name of a process's program. FindProcessHandlesByName returns (DWORD)-1 when the
 * process list cannot be read. */
SPOOLKIT_API HANDLE WINAPI FindProcessHandleByName(LPCWSTR baseName);
SPOOLKIT_API DWORD WINAPI FindProcessHandlesByName(LPCWSTR baseName, HANDLE* handles, DWORD capacity);
SPOOLKIT_API BOOL WINAPI IsSpoolerProcess(void);

/* Print jobs. Where a printer name is taken, a NULL printer handle opens that printer for the call. */
SPOOLKIT_API BOOL WINAPI WrapEnumJobs(HANDLE printer,
                                      DWORD firstJob,
                                      DWORD jobCount,
                                      DWORD level,
                                      BYTE** jobs,
                                      DWORD* bytesNeeded,
                                      DWORD* jobsReturned);
SPOOLKIT_API BOOL WINAPI WrapGetJob(HANDLE printer, DWORD jobId, DWORD level, BYTE** job, DWORD* bytesNeeded);
SPOOLKIT_API BOOL WINAPI IsJobDeleted(HANDLE printer, DWORD jobId, LPCWSTR printerName);
SPOOLKIT_API BOOL WINAPI GetJobDevMode(HANDLE printer,
                                       DWORD jobId,
                                       DEVMODEW* devMode,
                                       DWORD bufferSize,
                                       DWORD* bytesNeeded,
                                       LPCWSTR printerName);
SPOOLKIT_API BOOL WINAPI IsRemotePrintingComputer(HANDLE printer, DWORD jobId);

/* Paths and system. */
SPOOLKIT_API int WINAPI GetEnvironment(LPWSTR environment, DWORD capacity);
SPOOLKIT_API BOOL WINAPI AppendToSubDriverDir(LPWSTR path, LPCWSTR fileName);
SPOOLKIT_API BOOL WINAPI GetCommonDocPath(LPWSTR path);
SPOOLKIT_API BOOL WINAPI WrapGetComputerName(LPWSTR name, DWORD* size);
SPOOLKIT_API BOOL WINAPI IsVistaOrHigher(void);

/* Registry: the results are registry error codes (ERROR_SUCCESS is 0). */
SPOOLKIT_API LONG WINAPI
RegReadValue(HKEY root, LPCWSTR subkey, LPCWSTR valueName, DWORD* type, BYTE* data, DWORD* dataSize);
SPOOLKIT_API LONG WINAPI RegWriteValue(HKEY root,
                                       LPCWSTR subkey,
                                       LPCWSTR valueName,
                                       DWORD type,
                                       const BYTE* data,
                                       DWORD dataSize,
                                       BOOL openOnly);
SPOOLKIT_API LONG WINAPI RegGetSetDevmodePerUser(BYTE* data, DWORD* dataSize, LPCWSTR valueName, BOOL read);

#ifdef __cplusplus
}
#endif

#endif /* SPOOLKIT_SPOOLKIT_H */
