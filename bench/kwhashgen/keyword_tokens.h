/* Token numbers the scanner returns for the reserved words of
 * keywords.txt. */
#ifndef KEYWORD_TOKENS_H
#define KEYWORD_TOKENS_H

#define KV_AND_TOKEN           64
#define KV_ANDELSE_TOKEN       65
#define KV_BREAK_TOKEN         66
#define KV_CASE_TOKEN          67
#define KV_CATCH_TOKEN         68
#define KV_CONT_TOKEN          69
#define KV_DEFINE_TOKEN        70
#define KV_DO_TOKEN            71
#define KV_ELSE_TOKEN          72
#define KV_END_TOKEN           73
#define KV_EXIT_TOKEN          74
#define KV_FINALLY_TOKEN       75
#define KV_FOR_TOKEN           76
#define KV_FOREACH_TOKEN       77
#define KV_FOREVER_TOKEN       78
#define KV_IF_TOKEN            79
#define KV_IFNOT_TOKEN         80
#define KV_IMPORT_TOKEN        81
#define KV_IN_TOKEN            82
#define KV_LOOP_TOKEN          83
#define KV_MOD_TOKEN           84
#define KV_NAMESPACE_TOKEN     85
#define KV_NOT_TOKEN           86
#define KV_OR_TOKEN            87
#define KV_ORELSE_TOKEN        88
#define KV_PRIVATE_TOKEN       89
#define KV_PUBLIC_TOKEN        90
#define KV_RETURN_TOKEN        91
#define KV_SHL_TOKEN           92
#define KV_SHR_TOKEN           93
#define KV_STATIC_TOKEN        94
#define KV_STRUCT_TOKEN        95
#define KV_SWITCH_TOKEN        96
#define KV_THEN_TOKEN          97
#define KV_THROW_TOKEN         98
#define KV_TRY_TOKEN           99
#define KV_TYPEDEF_TOKEN       100
#define KV_UNTIL_TOKEN         101
#define KV_USING_TOKEN         102
#define KV_VARIABLE_TOKEN      103
#define KV_WHILE_TOKEN         104
#define KV_XOR_TOKEN           105

#endif
