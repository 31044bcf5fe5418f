@ An inline destructor and a vtable in COMDAT groups, a string, a word of bss,
@ a constructor alias and a jump-table word, as clang writes them.
	.text
	.syntax unified
	.eabi_attribute	67, "2.09"
	.cpu	strongarm
	.eabi_attribute	6, 1
	.eabi_attribute	8, 1
	.eabi_attribute	18, 2
	.eabi_attribute	26, 2
	.file	"sample.cpp"
	.section	.text._ZN3AppD2Ev,"axG",%progbits,_ZN3AppD2Ev,comdat
	.weak	_ZN3AppD2Ev
	.p2align	2
	.type	_ZN3AppD2Ev,%function
	.code	32
_ZN3AppD2Ev:
	.fnstart
	.save	{r11, lr}
	push	{r11, lr}
	.setfp	r11, sp
	mov	r11, sp
	ldr	r0, .LCPI0_0
	pop	{r11, lr}
	mov	pc, lr
	.p2align	2
.LCPI0_0:
	.long	.L.str
.Lfunc_end0:
	.size	_ZN3AppD2Ev, .Lfunc_end0-_ZN3AppD2Ev
	.cantunwind
	.fnend

	.section	.rodata._ZTV3App,"aG",%progbits,_ZTV3App,comdat
	.weak	_ZTV3App
	.p2align	2
_ZTV3App:
	.long	0
	.long	_ZN3AppD2Ev
	.size	_ZTV3App, 8

	.type	.L.str,%object
	.section	.rodata.str2.2,"aMS",%progbits,2
.L.str:
	.short	65
	.short	0
	.size	.L.str, 4

	.type	counter,%object
	.section	.bss.counter,"aw",%nobits
	.globl	counter
	.p2align	2
counter:
	.long	0
	.size	counter, 4

	.section	.text.Jump,"ax",%progbits
	.globl	Jump
Jump:
	.inst	0xe1a00000
	mov	pc, lr
.set _ZN3AppC1Ev, _ZN3AppD2Ev
	.ident	"Debian clang version 14.0.6"
	.section	".note.GNU-stack","",%progbits
	.addrsig
	.addrsig_sym	counter
	.eabi_attribute	30, 3
