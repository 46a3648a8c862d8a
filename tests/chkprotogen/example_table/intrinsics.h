/* Declarations of the C functions that implement the intrinsic functions of
 * the string, integer and math modules, and the macros that enter them in an
 * intrinsic table (see intrinsics.c).
 *
 * Every argument reaches an intrinsic's C function by address: an integer as
 * int *, a string as char *. The letters after MAKE_INTRINSIC_ name the
 * arguments in order (I for an integer, S for a string, D for a double, 0 for
 * none), and the last macro argument is the type of the value returned.
 */
#ifndef KARVO_EXAMPLE_INTRINSICS_H
#define KARVO_EXAMPLE_INTRINSICS_H

#include <stddef.h>

typedef void (*KV_Intrinsic_Fun_Type) (void);

typedef struct
{
   const char *name;
   KV_Intrinsic_Fun_Type fun;
   unsigned char num_args;
   unsigned char arg_types[4];
   unsigned char return_type;
}
KV_Intrinsic_Type;

#define KARVO_VOID_TYPE    1
#define KARVO_INT_TYPE     2
#define KARVO_DOUBLE_TYPE  3
#define KARVO_STRING_TYPE  4

#define KV_I_ KARVO_INT_TYPE
#define KV_S_ KARVO_STRING_TYPE
#define KV_D_ KARVO_DOUBLE_TYPE

#define KV_INTRINSIC_(name, fun, n, a, b, c, d, ret) \
   {(name), (KV_Intrinsic_Fun_Type) (fun), (n), {(a), (b), (c), (d)}, (ret)}

/* Old form: the argument count is given, the argument types are not. */
#define MAKE_INTRINSIC(name, fun, ret, n) KV_INTRINSIC_(name, fun, n, 0, 0, 0, 0, ret)

#define MAKE_INTRINSIC_0(name, fun, ret) KV_INTRINSIC_(name, fun, 0, 0, 0, 0, 0, ret)
#define MAKE_INTRINSIC_I(name, fun, ret) KV_INTRINSIC_(name, fun, 1, KV_I_, 0, 0, 0, ret)
#define MAKE_INTRINSIC_S(name, fun, ret) KV_INTRINSIC_(name, fun, 1, KV_S_, 0, 0, 0, ret)
#define MAKE_INTRINSIC_II(name, fun, ret) KV_INTRINSIC_(name, fun, 2, KV_I_, KV_I_, 0, 0, ret)
#define MAKE_INTRINSIC_SS(name, fun, ret) KV_INTRINSIC_(name, fun, 2, KV_S_, KV_S_, 0, 0, ret)
#define MAKE_INTRINSIC_SI(name, fun, ret) KV_INTRINSIC_(name, fun, 2, KV_S_, KV_I_, 0, 0, ret)
#define MAKE_INTRINSIC_IS(name, fun, ret) KV_INTRINSIC_(name, fun, 2, KV_I_, KV_S_, 0, 0, ret)
#define MAKE_INTRINSIC_DD(name, fun, ret) KV_INTRINSIC_(name, fun, 2, KV_D_, KV_D_, 0, 0, ret)
#define MAKE_INTRINSIC_III(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_I_, KV_I_, KV_I_, 0, ret)
#define MAKE_INTRINSIC_IIS(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_I_, KV_I_, KV_S_, 0, ret)
#define MAKE_INTRINSIC_ISI(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_I_, KV_S_, KV_I_, 0, ret)
#define MAKE_INTRINSIC_ISS(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_I_, KV_S_, KV_S_, 0, ret)
#define MAKE_INTRINSIC_SII(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_S_, KV_I_, KV_I_, 0, ret)
#define MAKE_INTRINSIC_SIS(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_S_, KV_I_, KV_S_, 0, ret)
#define MAKE_INTRINSIC_SSI(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_S_, KV_S_, KV_I_, 0, ret)
#define MAKE_INTRINSIC_SSS(name, fun, ret) KV_INTRINSIC_(name, fun, 3, KV_S_, KV_S_, KV_S_, 0, ret)
#define MAKE_INTRINSIC_IIII(name, fun, ret) \
   KV_INTRINSIC_(name, fun, 4, KV_I_, KV_I_, KV_I_, KV_I_, ret)
#define MAKE_INTRINSIC_SSSS(name, fun, ret) \
   KV_INTRINSIC_(name, fun, 4, KV_S_, KV_S_, KV_S_, KV_S_, ret)

#define KV_END_INTRINSIC_TABLE {NULL, NULL, 0, {0, 0, 0, 0}, 0}

/* No arguments */
extern void kv_print_stack (void);
extern int kv_stack_depth (void);
extern char *kv_getcwd (void);
extern double kv_time_seconds (void);
extern int kv_getpid (void);

/* One argument */
extern void kv_set_verbose (int *);
extern int kv_abs (int *);
extern char *kv_char (int *);
extern double kv_int_to_double (int *);
extern void kv_putenv (char *);
extern int kv_strlen (char *);
extern char *kv_strup (char *);
extern double kv_atof (char *);

/* Two arguments */
extern int kv_max (int *, int *);
extern void kv_swap_slots (int *, int *);
extern int kv_strcmp (char *, char *);
extern char *kv_strcat (char *, char *);
extern char *kv_strtrunc (char *, int *);
extern int kv_strbyte (char *, int *);
extern char *kv_pad_left (int *, char *);
extern double kv_atan2 (double *, double *);

/* Three arguments */
extern int kv_clamp (int *, int *, int *);
extern void kv_set_cell (int *, int *, char *);
extern char *kv_strinsert_at (int *, char *, int *);
extern int kv_replace_nth (int *, char *, char *);
extern char *kv_substr (char *, int *, int *);
extern char *kv_strinsert (char *, int *, char *);
extern int kv_strncmp (char *, char *, int *);
extern char *kv_strreplace (char *, char *, char *);
extern double kv_strtod_base (char *, char *, int *);

/* Four arguments */
extern double kv_hypot4 (int *, int *, int *, int *);
extern void kv_define_alias (char *, char *, char *, char *);

#endif
