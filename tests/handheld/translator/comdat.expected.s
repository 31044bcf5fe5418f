@ An inline destructor and a vtable in COMDAT groups, a string, a word of bss,
@ a constructor alias and a jump-table word, as clang writes them.
	.text
	.syntax unified
	.section	.text$_ZN3AppD2Ev,"xr"
	.linkonce	discard
	.globl	_ZN3AppD2Ev
	.p2align	2
	.code	32
_ZN3AppD2Ev:
	push	{r11, lr}
	mov	r11, sp
	ldr	r0, .LCPI0_0
	pop	{r11, lr}
	mov	pc, lr
	.p2align	2
.LCPI0_0:
	.long	.L.str
.Lfunc_end0:

	.section	.rdata$_ZTV3App,"dr"
	.linkonce	discard
	.globl	_ZTV3App
	.p2align	2
_ZTV3App:
	.long	0
	.long	_ZN3AppD2Ev

	.section	.rdata$str2_2,"dr"
.L.str:
	.short	65
	.short	0

	.section	.bss$counter,"bw"
	.globl	counter
	.p2align	2
counter:
	.long	0

	.section	.text$Jump,"xr"
	.globl	Jump
Jump:
	.word	0xe1a00000
	mov	pc, lr
.set _ZN3AppC1Ev, _ZN3AppD2Ev
