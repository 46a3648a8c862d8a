/* Intrinsic table of the string, integer and math modules.
 *
 * Each MAKE_INTRINSIC_<args> line enters one intrinsic: its name in the
 * language, the C function that implements it and the type it returns. The
 * build runs chkprotogen over this file and compiles the fragment it writes
 * together with intrinsics.h, so that a C function whose prototype differs
 * from what its line here claims fails the build.
 */
#include "intrinsics.h"

const KV_Intrinsic_Type KV_Core_Intrinsics [] =
{
   MAKE_INTRINSIC_0("_print_stack", kv_print_stack, KARVO_VOID_TYPE),
   MAKE_INTRINSIC_0("_stkdepth", kv_stack_depth, KARVO_INT_TYPE),
   MAKE_INTRINSIC_0("getcwd", kv_getcwd, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_0("_time", kv_time_seconds, KARVO_DOUBLE_TYPE),
   /* Entered before argument letters existed; chkprotogen warns and skips it. */
   MAKE_INTRINSIC("getpid", kv_getpid, KARVO_INT_TYPE, 0),
   MAKE_INTRINSIC_I("_set_verbose", kv_set_verbose, KARVO_VOID_TYPE),
   MAKE_INTRINSIC_I("abs", kv_abs, KARVO_INT_TYPE),
   MAKE_INTRINSIC_I("char", kv_char, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_I("double", kv_int_to_double, KARVO_DOUBLE_TYPE),
   MAKE_INTRINSIC_II("max", kv_max, KARVO_INT_TYPE),
   MAKE_INTRINSIC_II("_swap", kv_swap_slots, KARVO_VOID_TYPE),
   MAKE_INTRINSIC_III("clamp", kv_clamp, KARVO_INT_TYPE),
   MAKE_INTRINSIC_IIII("hypot4", kv_hypot4, KARVO_DOUBLE_TYPE),
   KV_END_INTRINSIC_TABLE
};

/* The string functions take their arguments in the order the language
 * passes them; MAKE_INTRINSIC_SI below is (string, integer). */
const KV_Intrinsic_Type KV_String_Intrinsics [] =
{
   MAKE_INTRINSIC_S("putenv", kv_putenv, KARVO_VOID_TYPE),
   MAKE_INTRINSIC_S("strlen", kv_strlen, KARVO_INT_TYPE),
   MAKE_INTRINSIC_S("strup", kv_strup, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_S("atof", kv_atof, KARVO_DOUBLE_TYPE),
   MAKE_INTRINSIC_SS("strcmp", kv_strcmp, KARVO_INT_TYPE),
   MAKE_INTRINSIC_SS("strcat", kv_strcat, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_SI("strtrunc", kv_strtrunc, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_SI("strbyte", kv_strbyte, KARVO_INT_TYPE),
   MAKE_INTRINSIC_IS("pad_left", kv_pad_left, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_IIS("_set_cell", kv_set_cell, KARVO_VOID_TYPE),
   MAKE_INTRINSIC_ISI("strinsert_at", kv_strinsert_at, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_ISS("replace_nth", kv_replace_nth, KARVO_INT_TYPE),
   MAKE_INTRINSIC_SII ("substr", kv_substr, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_SIS("strinsert", kv_strinsert, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_SSI("strncmp", kv_strncmp, KARVO_INT_TYPE),
   MAKE_INTRINSIC_SSS("strreplace", kv_strreplace, KARVO_STRING_TYPE),
   MAKE_INTRINSIC_SSI("strtod_base", kv_strtod_base,
		      KARVO_DOUBLE_TYPE),
   MAKE_INTRINSIC_SSSS("_define_alias", kv_define_alias, KARVO_VOID_TYPE),
   KV_END_INTRINSIC_TABLE
};

const KV_Intrinsic_Type KV_Math_Intrinsics [] =
{
   MAKE_INTRINSIC_DD("atan2", kv_atan2, KARVO_DOUBLE_TYPE),
   KV_END_INTRINSIC_TABLE
};
