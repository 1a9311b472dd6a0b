mass(-0);	loadtexture('a)b.tga')
posit	ion([0,1727.193],[1e39,	0],[3.4e38,2941.491]);continiuous(770);size;
enlargement(2147483648,abc)	;
BLENDfacTOr;CONTiNUOuS(2896);position([1,2251],[2266.1,5.],[ 2618.329,4294967295]);loadtExTUre('a)b.tga');
randomsize(1e9,99999999999);
textureproperties(3,3);
gravity( 2146.244);
beginfadeout(-0);TexTurepRoperTieS(3.4e38,-2961.547 )inertia(2847,1220.211,inf);loadtexture ('x.jpg';
// a comment ('with quotes') and (brackets)
(1226.122);(1E-3);fOrce(	-940.	371,2826.332,2201.946);loadtexture('sp ace.tga');
force(0.5,1e3,1926;TextuReproPERTIEs(4,0);color(99.274,280.246,2794.888);BLeNDfActoR(-2333.860,0);
position([1692.834,-2147483649],[2439,5.],[1793,1922.435],[1340.657,2433.875];continuous(0x10);//trailing
randomsize +,219	.633 ;force(inf,-2463.922,-1 );
