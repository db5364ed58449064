/* The print engine's interface: the entry points of "Z_PENG12.DLL" and the records the driver
 * fills for them.
 *
 * The records are C structs in the engine's field order, with fixed-width types, little-endian.
 * Each field states its offset in the engine's 32-bit layout, where pointers are 4 bytes, and its
 * native offset on x86-64, where pointers are 8 bytes and the fields after them move; the native
 * offsets are checked below. Fields named reserved_* are never written by the driver (zero).
 *
 * Call order for one picture: InitJob, InitPage, BandOut for each band from the top of the page
 * down, TerminatePage, DestroyJob. InitJob, InitPage and BandOut answer 0 on success, otherwise an
 * engine error code; nothing but TerminatePage and DestroyJob is called after a failure. The engine
 * hands its printer data to the output callback named in the module record, synchronously, from
 * inside any entry point, possibly several times per call. */
#ifndef QR7M_HOST_PRINT_ENGINE_H
#define QR7M_HOST_PRINT_ENGINE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Engine error codes. */
enum {
    ENGINE_OK = 0,
    ENGINE_ERROR_CALL_ORDER = -2, /* "API Call Procedure Violation" */
    ENGINE_ERROR_MEMORY = -4,     /* "Failed to write to memory." */
    ENGINE_ERROR_HANDLE = -5,     /* "Incorrect handle used." */
    ENGINE_ERROR_UNKNOWN = -10,   /* "An error has occurred. The cause cannot be identified." */
    ENGINE_ERROR_SPOOLER = -15    /* "Spooler Error" */
};

/* A rectangle in pixels; right and bottom are exclusive. */
typedef struct Engine_Rect {
    int32_t left, top, right, bottom;
} Engine_Rect;

/* The rows of one band: `row_bytes` apart (row width x 4), each pixel R, G, B, 0. */
typedef struct Engine_Band_Buffer {
    int32_t row_bytes; /* 32-bit 0, native 0 */
    uint8_t* rows;     /* 32-bit 4, native 8: first row of the band */
} Engine_Band_Buffer;

typedef struct Engine_Borderless_Record { /* 12 bytes in both layouts */
    uint32_t kind;                        /* 0: 0x00020001 */
    uint32_t reserved_4;                  /* 4: 0 */
    uint32_t reserved_8;                  /* 8: 0 */
} Engine_Borderless_Record;

typedef struct Engine_Adjustment_Record { /* 32 bytes in both layouts */
    uint16_t record_kind;                 /* 0: 2 */
    uint16_t reserved_2;
    int32_t adjustment_set;  /* 4: 959 */
    int32_t ink_density;     /* 8: (density % / 100 + 1) x 1024 */
    int16_t feed_offset;     /* 12: hundredths of a percent */
    int16_t drying_time;     /* 14: tenths of a second per pass */
    int16_t paper_thickness; /* 16: tenths of a millimetre */
    int16_t suction;         /* 18: 100, 50, 30, 10 or 6 */
    int32_t cut_method;      /* 20: 0 to 3 */
    int16_t reserved_24;
    int16_t platen_gap;   /* 26: 0 to 4 */
    int16_t eject_roller; /* 28: 0 to 3 */
    int16_t reserved_30;  /* 30: 0 */
} Engine_Adjustment_Record;

typedef struct Engine_Ink_Record { /*    32-bit  native */
    uint16_t record_kind;          /*      0       0     1 */
    uint16_t reserved_2;           /*      2       2 */
    const int32_t* mode_row;       /*      4       8     column C1 of the print mode row */
    int32_t ink_count_kind;        /*      8      16     1 */
    int32_t reserved[6];           /*  12-32   20-40     0 */
} Engine_Ink_Record;               /* size 36      48 */

typedef struct Engine_Job_Record {               /*    32-bit  native */
    uint16_t record_kind;                        /*      0       0     6 */
    uint16_t reserved_2;                         /*      2       2 */
    int32_t mode_c2;                             /*      4       4     print mode C2 */
    int32_t color_mode;                          /*      8       8     C3; 0 for grey printing */
    int32_t x_resolution;                        /*     12      12     C5, dpi */
    int32_t y_resolution;                        /*     16      16     C6, dpi */
    int32_t head_x_resolution;                   /*     20      20     C7, dpi */
    int32_t head_y_resolution;                   /*     24      24     C8, dpi */
    int32_t paper_width;                         /*     28      28     pixels */
    int32_t paper_length;                        /*     32      32     pixels */
    int32_t printable_width;                     /*     36      36     pixels */
    int32_t printable_length;                    /*     40      40     pixels */
    int32_t image_width;                         /*     44      44     pixels, = printable width */
    int32_t image_length;                        /*     48      48     pixels, = printable length */
    int32_t reserved_52;                         /*     52      52     0 */
    int32_t first_margin;                        /*     56      56     pixels */
    int32_t media_code;                          /*     60      60     C0 */
    int32_t mode_c10;                            /*     64      64     C10 */
    int32_t one_68;                              /*     68      68     1 */
    uint32_t pass_flags;                         /*     72      72     C9, +4 for bidirectional */
    uint32_t source_flags;                       /*     76      76 */
    int32_t reserved_80;                         /*     80      80     0 */
    int32_t source_code;                         /*     84      84 */
    int32_t paper_size_code;                     /*     88      88 */
    uint16_t all_ones_92;                        /*     92      92     0xFFFF */
    uint16_t reserved_94;                        /*     94      94 */
    int32_t reserved_96;                         /*     96      96     0 */
    int32_t color_inks;                          /*    100     100     C4 */
    const Engine_Borderless_Record* borderless;  /* 104     104     null unless borderless */
    int32_t second_margin;                       /*    108     112     pixels */
    int32_t reserved_112;                        /*    112     116     0 */
    const Engine_Adjustment_Record* adjustments; /* 116     120 */
    const Engine_Ink_Record* ink;                /*    120     128 */
    int32_t reserved_124;                        /*    124     136     0 */
    int32_t reserved_128;                        /*    128     140     0 */
} Engine_Job_Record;                             /* size 132     144 */

typedef struct Engine_Page_Record { /* 56 bytes in both layouts */
    uint16_t record_kind;           /* 0: 1 */
    uint16_t reserved_2;
    int32_t color_correction; /* 4: 0 or 2 in colour, the mono table's C11 otherwise */
    int32_t reserved_8;       /* 8: 0 */
    int32_t one_12;           /* 12: 1 */
    int32_t reserved_16[6];   /* 16-36: 0 */
    int32_t gamma;            /* 40: 150, 180 or 220 */
    int32_t reserved_44[3];   /* 44-52: 0 */
} Engine_Page_Record;

/* Output callback: `context` is the module record's context, `data` and `count` the printer data.
 * Returns 1. */
typedef int32_t (*Engine_Output_Callback)(int32_t context, const void* data, int32_t count);

typedef struct Engine_Module_Record { /*  32-bit  native */
    const char* screen_module;        /*     0       0     driver dir + "Z_SCRN4S.DLL", cp 1252 */
    const char* conversion_module;    /*     4       8     driver dir + "Z_KVTR09.DLL" */
    const char* const* table_modules; /*     8      16     null-terminated list: "Z_TBLA6x.DLL" */
    int32_t one_12;                   /*    12      24     1 */
    Engine_Output_Callback output;    /*    16      32 */
    int32_t output_context;           /*    20      40     0 */
} Engine_Module_Record;               /* size 24      48 */

typedef void* Engine_Job_Handle;

typedef int32_t (*Engine_InitJob)(Engine_Job_Handle* job, const Engine_Job_Record* record,
                                  const Engine_Module_Record* modules);
typedef int32_t (*Engine_InitPage)(Engine_Job_Handle job, const Engine_Page_Record* record);
typedef int32_t (*Engine_BandOut)(Engine_Job_Handle job, const Engine_Rect* band,
                                  const Engine_Band_Buffer* buffer, int32_t zero,
                                  const Engine_Rect* page, uint32_t* three_words);
typedef int32_t (*Engine_TerminatePage)(Engine_Job_Handle job);
typedef int32_t (*Engine_DestroyJob)(Engine_Job_Handle job);
typedef int32_t (*Engine_ResetJob)(Engine_Job_Handle job);
typedef int32_t (*Engine_TerminatePageEx)(Engine_Job_Handle job);

#ifdef __cplusplus
} /* extern "C" */
#endif

/* Native layout checks (x86-64). */
#if defined(__cplusplus) && defined(__x86_64__)
static_assert(sizeof(Engine_Borderless_Record) == 12);
static_assert(sizeof(Engine_Adjustment_Record) == 32);
static_assert(offsetof(Engine_Adjustment_Record, suction) == 18);
static_assert(offsetof(Engine_Adjustment_Record, cut_method) == 20);
static_assert(offsetof(Engine_Adjustment_Record, platen_gap) == 26);
static_assert(offsetof(Engine_Adjustment_Record, reserved_30) == 30);
static_assert(offsetof(Engine_Ink_Record, mode_row) == 8);
static_assert(offsetof(Engine_Ink_Record, ink_count_kind) == 16);
static_assert(offsetof(Engine_Ink_Record, reserved) == 20);
static_assert(sizeof(Engine_Ink_Record) == 48);
static_assert(offsetof(Engine_Job_Record, paper_width) == 28);
static_assert(offsetof(Engine_Job_Record, image_length) == 48);
static_assert(offsetof(Engine_Job_Record, pass_flags) == 72);
static_assert(offsetof(Engine_Job_Record, all_ones_92) == 92);
static_assert(offsetof(Engine_Job_Record, color_inks) == 100);
static_assert(offsetof(Engine_Job_Record, borderless) == 104);
static_assert(offsetof(Engine_Job_Record, second_margin) == 112);
static_assert(offsetof(Engine_Job_Record, reserved_112) == 116);
static_assert(offsetof(Engine_Job_Record, adjustments) == 120);
static_assert(offsetof(Engine_Job_Record, ink) == 128);
static_assert(offsetof(Engine_Job_Record, reserved_124) == 136);
static_assert(offsetof(Engine_Job_Record, reserved_128) == 140);
static_assert(sizeof(Engine_Job_Record) == 144);
static_assert(offsetof(Engine_Page_Record, color_correction) == 4);
static_assert(offsetof(Engine_Page_Record, gamma) == 40);
static_assert(sizeof(Engine_Page_Record) == 56);
static_assert(offsetof(Engine_Module_Record, conversion_module) == 8);
static_assert(offsetof(Engine_Module_Record, table_modules) == 16);
static_assert(offsetof(Engine_Module_Record, one_12) == 24);
static_assert(offsetof(Engine_Module_Record, output) == 32);
static_assert(offsetof(Engine_Module_Record, output_context) == 40);
static_assert(sizeof(Engine_Module_Record) == 48);
static_assert(offsetof(Engine_Band_Buffer, rows) == 8);
#endif

#endif /* QR7M_HOST_PRINT_ENGINE_H */
