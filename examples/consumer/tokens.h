#ifndef CONSUMER_TOKENS_H
#define CONSUMER_TOKENS_H
#define CTOK_IF 1
#define CTOK_ELSE 2
#define CTOK_WHILE 3
#define CTOK_RETURN 4
#define CTOK_PRINT 5
#define CTOK_WIDTH 6
#endif
