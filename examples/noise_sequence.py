# Twenty-four frames of the bundled blob with its noise drifting through it, and a picture.
import hxnoise
from hxnoise import cmds

cmds.loadPlugin('hxNoise')
blob = cmds.file(hxnoise.example_mesh(), i=True, returnNewNodes=True)[0]
noise, _, handle, _ = cmds.deformer(blob, type='hxNoise')
cmds.setAttr(noise + '.oyNoiseAmp', 0.4)
cmds.setKeyframe(handle + '.translateZ', t=1, v=0)
cmds.setKeyframe(handle + '.translateZ', t=24, v=2)
for frame in range(1, 25):
    cmds.currentTime(frame)
    cmds.file('out/blob.%04d.obj' % frame, exportAll=True, force=True, type='OBJexport')
hxnoise.render('out/blob.png', size=(800, 600))
